// The evaluation run end to end: the real engine started on a data set, the
// wait for its report, the messages, and the results window it opens.
#include "Form1.h"
#include "Form2.h"
#include "evaluation.h"
#include "flexgrid.h"
#include "scripted_ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <iostream>

using veldesk::MsgIcon;

namespace {

const QByteArray kDataSet = "V.Arezo Input data\r\n0.05000 , 0.30000\r\n"
                            "0.20000 300.00000 1200.00000\r\n0.20000 300.00000 600.00000\r\n";
const QString kRow1 = QStringLiteral(
    "     1  0.2000    300.   1200. 180.00   5.66   4.50   5.92   0.4073E-04 0.0140");
const QString kRow2 = QStringLiteral(
    "     2  0.2000    300.    600. 180.00   5.66   4.50  20.00 * 0.8684E-0613.0008");

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A grid row put back together in the report's own column order (the point
// number is not shown): columns 1 to 7, the flag, then Ks and Psi_m.
QString rowAsReported(const FlexGrid& g, int r)
{
    QString s;
    for (int c = 1; c <= 7; ++c)
        s += g.textMatrix(r, c);
    return s + g.textMatrix(r, 10) + g.textMatrix(r, 8) + g.textMatrix(r, 9);
}

// What the results window showed when it was open.
struct Seen {
    int windows = 0;
    QStringList labels;
    QString label2;
    int rows = 0;
    QStringList rowTexts;
    QList<QColor> flagColours;
};

// Watches for the modal results window; records it and closes it with OK.
class ResultsWatcher {
public:
    Seen seen;
    ResultsWatcher()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* form = qobject_cast<Form2*>(QApplication::activeModalWidget());
            if (!form || !form->isVisible())
                return;
            ++seen.windows;
            seen.labels.clear();
            for (QLabel* l : form->Label1)
                seen.labels << l->text();
            seen.label2 = form->Label2->text();
            seen.rows = form->Gr2->rows();
            seen.rowTexts.clear();
            seen.flagColours.clear();
            for (int r = 2; r < form->Gr2->rows(); ++r) {
                seen.rowTexts << rowAsReported(*form->Gr2, r);
                seen.flagColours << form->Gr2->cellBackColor(r, 10);
            }
            form->Command1->click();
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

// Ticks the way the main window's timer does, with a pause for the engine
// between ticks, until the results window has been seen or maxTicks passed.
int tickUntilResults(Evaluation& ev, const ResultsWatcher& w, int maxTicks, int pauseMs = 200)
{
    for (int i = 1; i <= maxTicks; ++i) {
        QTest::qWait(pauseMs);
        ev.tick();
        if (w.seen.windows > 0)
            return i;
    }
    return -1;
}

struct EvaluationRun : ::testing::Test {
    QTemporaryDir tmp;
    QString root, oldCwd;
    ScriptedSeam ui;
    QWidget owner;

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        root = QDir(tmp.path()).canonicalPath();
        oldCwd = QDir::currentPath();
        ASSERT_TRUE(QDir().mkpath(root + "/cwd"));
        ASSERT_TRUE(QDir::setCurrent(root + "/cwd"));
    }
    void TearDown() override { QDir::setCurrent(oldCwd); }

    std::unique_ptr<Evaluation> evaluationOf(const QString& dataSet)
    {
        auto ev = std::make_unique<Evaluation>(&owner, [dataSet] { return dataSet; });
#ifdef VELPRA_EXE
        ev->setEngineProgram(QStringLiteral(VELPRA_EXE));
#endif
        return ev;
    }
};

#ifdef VELPRA_EXE

TEST_F(EvaluationRun, RealEngineOnAPathWithBlanksOutsideTheWorkingDirectory)
{
    const QString dir = root + "/field data/site 1";
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString dataSet = dir + "/run one.pd";
    writeFile(dataSet, kDataSet);
    writeFile(dir + "/pd.out", "stale report of an earlier run\r\n");

    auto ev = evaluationOf(dataSet);
    ResultsWatcher watch;
    ev->start();
    EXPECT_EQ(ev->fa, dir + "/pd.out");
    EXPECT_TRUE(ev->esperando);
    EXPECT_EQ(owner.cursor().shape(), Qt::WaitCursor);
    ASSERT_GT(tickUntilResults(*ev, watch, 20), 0) << ui.texts().join("|").toStdString();

    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join("|").toStdString();
    EXPECT_EQ(watch.seen.windows, 1);
    EXPECT_EQ(watch.seen.rowTexts, QStringList({kRow1.mid(7), kRow2.mid(7)}));
    EXPECT_EQ(watch.seen.rows, 4);
    EXPECT_EQ(watch.seen.flagColours, QList<QColor>({QColor(255, 255, 255), QColor(220, 50, 100)}));
    // The processed-file line names the data set whole, blanks included.
    EXPECT_EQ(watch.seen.labels[0], ("Processed file:" + dataSet).leftJustified(80));
    EXPECT_EQ(watch.seen.labels[2], " Pipe dimensions used: ri= 0.0500 m; h0=   0.30 m");
    EXPECT_EQ(watch.seen.labels[3], "Results: " + dir + "/run one.out");
    EXPECT_EQ(watch.seen.label2, "Temp. File: " + dir + "/pd.out");

    // The results copy is the report, line for line; nothing landed in the
    // front end's working directory.
    const QByteArray report = readFile(dir + "/pd.out");
    EXPECT_TRUE(report.contains(kRow2.toLatin1() + "\r\n"));
    EXPECT_EQ(readFile(dir + "/run one.out"), report);
    EXPECT_FALSE(QFile::exists(root + "/cwd/pd.out"));

    // Back to idle with the arrow pointer; later ticks do nothing.
    EXPECT_FALSE(ev->esperando);
    EXPECT_EQ(ev->contador, 0);
    EXPECT_NE(owner.cursor().shape(), Qt::WaitCursor);
    for (int i = 0; i < 25; ++i)
        ev->tick();
    EXPECT_EQ(watch.seen.windows, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EvaluationRun, BareNameInTheWorkingDirectoryNamedLikeTheReport)
{
    // "pd.pd" has the report itself as its results copy: it must stay whole.
    writeFile("pd.pd", kDataSet);
    auto ev = evaluationOf("pd.pd");
    ResultsWatcher watch;
    ev->start();
    EXPECT_EQ(ev->fa, "pd.out");
    ASSERT_GT(tickUntilResults(*ev, watch, 20), 0) << ui.texts().join("|").toStdString();
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join("|").toStdString();
    EXPECT_EQ(watch.seen.rowTexts, QStringList({kRow1.mid(7), kRow2.mid(7)}));
    EXPECT_EQ(watch.seen.labels[3], "Results: pd.out");
    const QByteArray report = readFile("pd.out");
    EXPECT_EQ(report.count("\r\n"), 28);
    EXPECT_TRUE(report.endsWith("W=*, warning, root found outside domain\r\n\r\n"));
}

#endif // VELPRA_EXE

TEST_F(EvaluationRun, MissingEngineThenTimeOutThenALateReportStillOpensTheResults)
{
    writeFile(root + "/set.pd", kDataSet);
    auto ev = evaluationOf(root + "/set.pd");
    ev->setEngineProgram(root + "/no such dir/velpra");
    ResultsWatcher watch;
    ev->start();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to Find velpra in " + root + "/no such dir");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(ui.messages[0].title, "VELDESK");
    // The wait stays armed: busy pointer until the 20th tick, then the time-out.
    for (int i = 0; i < 19; ++i)
        ev->tick();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(owner.cursor().shape(), Qt::WaitCursor);
    ev->tick();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "velpra Not Found");
    EXPECT_EQ(ui.messages[1].icon, MsgIcon::Critical);
    EXPECT_NE(owner.cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(ev->esperando);
    EXPECT_EQ(ev->contador, 0);
    for (int i = 0; i < 30; ++i)
        ev->tick();
    EXPECT_EQ(ui.messages.size(), 2u); // once only

    // The report arrives late: the next tick opens the results, no new message.
    QStringList lines;
    for (int i = 0; i < 16; ++i)
        lines << " ";
    lines << "Processed file:late" << " Description:  late" << " Pipe" << "" << "h" << "u"
          << QString(79, '-') << kRow1 << QString(79, '-') << "W=*" << "";
    writeFile(root + "/pd.out", lines.join("\r\n").toLatin1());
    ev->tick();
    EXPECT_EQ(watch.seen.windows, 1);
    EXPECT_EQ(watch.seen.rowTexts, QStringList({kRow1.mid(7)}));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_FALSE(ev->esperando);
}

TEST_F(EvaluationRun, UnsavedDataSetAndAStaleReportThatCannotBeDeleted)
{
    auto ev = evaluationOf(root + "/never saved.pd");
    ev->start();
    ASSERT_EQ(ui.texts(), QStringList({"File not found. Save File before data treatment"}));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::None);
    for (int i = 0; i < 20; ++i)
        ev->tick();
    EXPECT_EQ(ui.texts().value(1), "velpra Not Found");

    // A "pd.out" that cannot be removed (here a directory holding a file) is
    // refused at once instead of being taken for the new report.
    ui.messages.clear();
    writeFile(root + "/set.pd", kDataSet);
    ASSERT_TRUE(QDir().mkpath(root + "/pd.out"));
    writeFile(root + "/pd.out/keep", "x");
    auto blocked = evaluationOf(root + "/set.pd");
    blocked->start();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Unable to delete the old report " + root + "/pd.out"));
    EXPECT_FALSE(blocked->esperando);
    EXPECT_EQ(blocked->contador, 0);
    EXPECT_NE(owner.cursor().shape(), Qt::WaitCursor);
    for (int i = 0; i < 25; ++i)
        blocked->tick();
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(EvaluationRun, EngineGetsOneArgumentNoConsoleAndItsReportOnlyOnceItHasEnded)
{
    // A stand-in engine: records its command line and directory, reads its
    // console input to the end (which never comes unless it is the null
    // device), writes half a report and finishes it only when told to.
    const QString full = root + "/full.out";
    QStringList lines;
    for (int i = 0; i < 16; ++i)
        lines << " ";
    lines << "Processed file:x" << " Description:  x" << " Pipe" << "" << "h" << "u" << QString(79, '-')
          << kRow1 << kRow2 << QString(79, '-') << "W=*" << "";
    writeFile(full, lines.join("\r\n").toLatin1());
    const QString engine = root + "/fake engine.sh";
    writeFile(engine, ("#!/bin/sh\n"
                       "printf '%s|%s|%s' \"$#\" \"$1\" \"$(pwd)\" > args.txt\n"
                       "cat > stdin.txt\n"
                       "printf 'partial\\r\\n' > pd.out\n"
                       "while [ ! -f go ]; do sleep 0.02; done\n"
                       "cp '" + full + "' pd.out\n")
                          .toUtf8());
    QFile::setPermissions(engine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString dir = root + "/a b";
    ASSERT_TRUE(QDir().mkpath(dir));
    writeFile(dir + "/my set.pd", kDataSet);
    auto ev = evaluationOf(dir + "/my set.pd");
    ev->setEngineProgram(engine);
    ResultsWatcher watch;
    ev->start();
    for (int i = 0; i < 50 && !QFile::exists(dir + "/pd.out"); ++i)
        QTest::qWait(20);
    ASSERT_TRUE(QFile::exists(dir + "/pd.out")) << "the engine waits for console input";
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(30);
        ev->tick();
    }
    EXPECT_EQ(watch.seen.windows, 0) << "a report still being written was read";
    EXPECT_EQ(readFile(dir + "/args.txt"), ("1|" + dir + "/my set.pd|" + dir).toUtf8());

    writeFile(dir + "/go", "");
    ASSERT_GT(tickUntilResults(*ev, watch, 14, 50), 0);
    EXPECT_EQ(watch.seen.rowTexts, QStringList({kRow1.mid(7), kRow2.mid(7)}));
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join("|").toStdString();

    // A path too long for the engine's 200 characters goes as the bare name,
    // valid in the directory the engine runs in.
    QString deep = root;
    for (int i = 0; i < 4; ++i)
        deep += "/" + QString(50, QChar('a' + i));
    ASSERT_TRUE(QDir().mkpath(deep));
    writeFile(deep + "/long.pd", kDataSet);
    writeFile(deep + "/go", "");
    auto longRun = evaluationOf(deep + "/long.pd");
    longRun->setEngineProgram(engine);
    longRun->start();
    ASSERT_GT(tickUntilResults(*longRun, watch, 14, 50), 0);
    EXPECT_EQ(readFile(deep + "/args.txt"), ("1|long.pd|" + deep).toUtf8());
}

#ifdef VELPRA_EXE

// Through the main window: readings pasted into the grid, saved, Evaluate
// clicked and the window's own 500 ms timer opening the results.
TEST_F(EvaluationRun, MainWindowSaveEvaluateAndResultsForAHundredReadings)
{
    Form1 form;
    form.evaluation().setEngineProgram(QStringLiteral(VELPRA_EXE));
    form.show();
    const QString dataSet = root + "/hundred.pd";
    form.Text1[3]->setText(dataSet);
    form.Text1[1]->setText("0.05");
    QStringList readings;
    for (int i = 0; i < 100; ++i)
        readings << QStringLiteral("0.2\t%1\t%2").arg(300 + i).arg(1200 + 10 * i);
    QApplication::clipboard()->setText(readings.join("\r"));
    form.Command8->click(); // Paste
    form.Command4->click(); // Save
    ASSERT_TRUE(form.Command1->isEnabled()) << ui.texts().join("|").toStdString();
    ui.messages.clear();

    ResultsWatcher watch;
    QElapsedTimer clock;
    clock.start();
    form.Command1->click(); // Evaluate
    for (int i = 0; i < 300 && watch.seen.windows == 0; ++i)
        QTest::qWait(20);
    const qint64 ms = clock.elapsed();
    ASSERT_EQ(watch.seen.windows, 1) << ui.texts().join("|").toStdString();
    std::cout << "[ timing ] Evaluate click to results window, 100 readings: " << ms << " ms\n";

    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join("|").toStdString();
    EXPECT_EQ(watch.seen.rows, 102);
    EXPECT_EQ(watch.seen.rowTexts.first(), kRow1.mid(7));
    EXPECT_TRUE(watch.seen.rowTexts.last().startsWith(" 0.2000    399.   2190.")) << watch.seen.rowTexts.last().toStdString();
    EXPECT_EQ(readFile(root + "/hundred.out"), readFile(root + "/pd.out"));
    EXPECT_FALSE(form.evaluation().esperando);
    EXPECT_NE(form.cursor().shape(), Qt::WaitCursor);
}

#endif // VELPRA_EXE

} // namespace
