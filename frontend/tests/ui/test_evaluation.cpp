// The evaluation run end to end: the engine started on a data set, the wait
// for its report, the messages, and the results window it opens.
#include "Form1.h"
#include "Form2.h"
#include "evaluation.h"
#include "flexgrid.h"
#include "scripted_ui.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <iostream>

using namespace veldesk;

namespace {

const QByteArray kDataSet = "V.Arezo Input data\r\n0.05000 , 0.30000\r\n"
                            "0.20000 300.00000 1200.00000\r\n0.20000 300.00000 600.00000\r\n";

// Watches for the modal results window, records what it shows (each row in
// the report's own column order, without the point number) and closes it.
struct ResultsWatcher {
    int windows = 0;
    QStringList labels, rows;
    QTimer timer;
    ResultsWatcher()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* form = qobject_cast<Form2*>(QApplication::activeModalWidget());
            if (!form || !form->isVisible())
                return;
            ++windows;
            labels = {form->Label1[0]->text(), form->Label1[2]->text(), form->Label1[3]->text()};
            const FlexGrid& g = *form->Gr2;
            rows.clear();
            for (int r = 2; r < g.rows(); ++r)
                // The row from Δθ on: the fields up to a, the W text (its mark
                // between two blanks), Ks and Psi_m.
                rows << g.clipText(r, 1, r, 7).remove('\t') + " " + g.textMatrix(r, 10) + " " + g.textMatrix(r, 8)
                            + g.textMatrix(r, 9);
            form->Command1->click();
        });
        timer.start(5);
    }
};

struct EvaluationRun : ::testing::Test {
    QTemporaryDir tmp;
    QString root = QDir(tmp.path()).canonicalPath(), oldCwd = QDir::currentPath();
    ScriptedSeam ui;
    QWidget owner;
    ResultsWatcher seen;

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(root + "/cwd") && QDir::setCurrent(root + "/cwd")); }
    void TearDown() override { QDir::setCurrent(oldCwd); }

    std::unique_ptr<Evaluation> evaluationOf(const QString& dataSet, const QString& engine = {})
    {
        auto ev = std::make_unique<Evaluation>(&owner, [dataSet] { return dataSet; });
        ev->setEngineProgram(builtProgram(VELPRA_EXE));
        if (!engine.isEmpty())
            ev->setEngineProgram(engine);
        return ev;
    }
    // Ticks like the main window's timer, with a pause for the engine, until
    // the results window has been seen; false after maxTicks.
    bool tickUntilResults(Evaluation& ev, int maxTicks = 20, int pauseMs = 200)
    {
        for (int i = 0; i < maxTicks && seen.windows == 0; ++i) {
            QTest::qWait(pauseMs);
            ev.tick();
        }
        return seen.windows > 0;
    }
    bool busy() const { return owner.cursor().shape() == Qt::WaitCursor; }
};

// Readings saved under the report's own name would be deleted as a stale
// report and overwritten by the engine: they are refused, and kept.
TEST_F(EvaluationRun, ADataSetNamedAsTheReportIsRefusedAndKept)
{
    for (const QString name : {"pd.out", "PD.OUT"}) {
        const QString dataSet = root + "/named/" + name;
        writeFile(dataSet, kDataSet);
        ui.messages.clear();
        auto ev = evaluationOf(dataSet);
        ev->start();
        ASSERT_EQ(ui.messages.size(), 1u) << name.toStdString();
        EXPECT_TRUE(ui.messages[0].text.startsWith("File " + QDir::toNativeSeparators(dataSet) + " has the name of the report"))
            << ui.messages[0].text.toStdString();
        EXPECT_EQ(ui.messages[0].icon, veldesk::MsgIcon::Critical);
        EXPECT_FALSE(ev->esperando() || busy());
        for (int i = 0; i < 25; ++i)
            ev->tick(); // nothing was started: no time-out, no results
        QTest::qWait(300);
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(seen.windows, 0);
        EXPECT_EQ(readFile(dataSet), kDataSet);
        EXPECT_FALSE(QFile::exists(root + "/named/" + name + ".out"));
        QFile::remove(dataSet);
    }
}

TEST_F(EvaluationRun, RealEngineOnAPathWithBlanksOutsideTheWorkingDirectory)
{
    const QString dir = root + "/field data";
    writeFile(dir + "/run one.pd", kDataSet);
    writeFile(dir + "/pd.out", reportOf({"stale"}));
    auto ev = evaluationOf(dir + "/run one.pd");
    ev->start();
    EXPECT_EQ(ev->fa, dir + "/pd.out");
    EXPECT_TRUE(busy());
    ASSERT_TRUE(tickUntilResults(*ev)) << ui.texts().join("|").toStdString();

    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join("|").toStdString();
    EXPECT_EQ(seen.rows, QStringList({kRow1.mid(6), kRow2.mid(6)}));
    EXPECT_EQ(seen.labels, QStringList({("Processed file:" + dir + "/run one.pd").leftJustified(80),
                                        " Pipe dimensions used: ri= 0.0500 m; h0=   0.30 m",
                                        "Results: " + dir + "/run one.out"}));
    EXPECT_EQ(readFile(dir + "/run one.out"), readFile(dir + "/pd.out"));
    EXPECT_FALSE(QFile::exists(root + "/cwd/pd.out"));
    EXPECT_FALSE(ev->esperando() || busy());
}


TEST_F(EvaluationRun, MissingEngineThenTimeOutThenALateReportStillOpensTheResults)
{
    writeFile(root + "/set.pd", kDataSet);
    auto ev = evaluationOf(root + "/set.pd", root + "/no such dir/velpra");
    ev->start();
    EXPECT_EQ(ui.texts(), QStringList({"Unable to Find velpra in " + root + "/no such dir"}));
    for (int i = 0; i < 19; ++i)
        ev->tick();
    EXPECT_TRUE(busy());
    ev->tick(); // the 20th
    EXPECT_EQ(ui.texts().value(1), "velpra Not Found");
    EXPECT_EQ(ui.messages[0].icon, veldesk::MsgIcon::None);
    EXPECT_EQ(ui.messages[1].icon, veldesk::MsgIcon::Critical);
    EXPECT_FALSE(busy());
    for (int i = 0; i < 30; ++i)
        ev->tick(); // once only

    writeFile(root + "/pd.out", reportOf({kRow1}));
    ev->tick();
    EXPECT_EQ(seen.rows, QStringList({kRow1.mid(6)}));
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(EvaluationRun, UnsavedDataSetAndAStaleReportThatCannotBeDeleted)
{
    auto ev = evaluationOf(root + "/never saved.pd");
    ev->start();
    for (int i = 0; i < 20; ++i)
        ev->tick();
    EXPECT_EQ(ui.texts(), QStringList({"File not found. Save File before data treatment", "velpra Not Found"}));

    // A "pd.out" that cannot be removed (a directory holding a file) is refused.
    ui.messages.clear();
    writeFile(root + "/set.pd", kDataSet);
    writeFile(root + "/pd.out/keep", "x");
    auto blocked = evaluationOf(root + "/set.pd");
    blocked->start();
    for (int i = 0; i < 25; ++i)
        blocked->tick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Unable to delete the old report " + root + "/pd.out"));
    EXPECT_FALSE(blocked->esperando() || busy());
}

TEST_F(EvaluationRun, EngineGetsOneArgumentNoConsoleAndItsReportOnlyOnceItHasEnded)
{
    // A stand-in engine: records its command line and directory, reads its
    // console to the end (which comes at once only from the null device),
    // writes half a report and completes it only when told to.
    writeFile(root + "/full.out", reportOf({kRow1, kRow2}));
    const QString engine = root + "/fake engine.sh";
    writeFile(engine, ("#!/bin/sh\nprintf '%s|%s|%s' \"$#\" \"$1\" \"$(pwd)\" > args.txt\ncat > stdin.txt\n"
                       "printf 'partial\\r\\n' > pd.out\nwhile [ ! -f go ]; do sleep 0.02; done\n"
                       "cp '" + root + "/full.out' pd.out\n").toUtf8());
    QFile::setPermissions(engine, QFile::ReadOwner | QFile::ExeOwner);

    // A path too long for the report's "Processed file:" line goes as the bare name.
    QString deep = root;
    for (int i = 0; i < 2; ++i)
        deep += "/" + QString(30, QChar('a' + i));
    for (const QString& dir : {root + "/a b", deep}) {
        writeFile(dir + "/my set.pd", kDataSet);
        auto ev = evaluationOf(dir + "/my set.pd", engine);
        seen.windows = 0;
        ev->start();
        for (int i = 0; i < 50 && !QFile::exists(dir + "/pd.out"); ++i)
            QTest::qWait(20);
        for (int i = 0; i < 5; ++i) {
            QTest::qWait(30);
            ev->tick();
        }
        EXPECT_EQ(seen.windows, 0) << "a report still being written was read";
        const QString arg = dir == deep ? "my set.pd" : dir + "/my set.pd";
        EXPECT_EQ(readFile(dir + "/args.txt"), ("1|" + arg + "|" + dir).toUtf8());
        writeFile(dir + "/go", "");
        ASSERT_TRUE(tickUntilResults(*ev, 14, 50)) << "the engine waits for console input";
        EXPECT_EQ(seen.rows, QStringList({kRow1.mid(6), kRow2.mid(6)}));
    }
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join("|").toStdString();
}

// No tick at all: the end of the engine's process opens the results.
TEST_F(EvaluationRun, ResultsOpenWhenTheEngineEndsWithoutWaitingForATick)
{
    QByteArray data = "Many\r\n0.05000 , 0.30000\r\n";
    for (int i = 0; i < 100; ++i)
        data += "0.20000 " + QByteArray::number(300 + i) + ".00000 1200.00000\r\n";
    writeFile(root + "/many.pd", data);
    auto ev = evaluationOf(root + "/many.pd");
    QElapsedTimer clock;
    clock.start();
    ev->start();
    for (int i = 0; i < 400 && seen.windows == 0; ++i)
        QTest::qWait(5);
    std::cout << "[ timing ] engine start to results window, 100 readings, no tick: " << clock.elapsed() << " ms\n";
    ASSERT_EQ(seen.windows, 1) << ui.texts().join("|").toStdString();
    EXPECT_EQ(seen.rows.size(), 100);
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join("|").toStdString();
    EXPECT_FALSE(ev->esperando() || busy());
    for (int i = 0; i < 25; ++i)
        ev->tick(); // no time-out follows, no second window
    EXPECT_EQ(seen.windows, 1);
    EXPECT_TRUE(ui.messages.empty());
}

// An engine that cannot create its report says why, at once, in its own words.
TEST_F(EvaluationRun, FailingEngineShowsItsDiagnosticAtOnce)
{
    // A folder where the report cannot be created. Permissions do not stop
    // the superuser; no one can create a file in /proc.
    QString dataSet = root + "/locked/set.pd";
    writeFile(dataSet, kDataSet);
    QFile::setPermissions(root + "/locked", QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(root + "/locked").isWritable())
        dataSet = "/proc/version";
    auto ev = evaluationOf(dataSet);
    ev->start();
    for (int i = 0; i < 400 && ui.messages.empty(); ++i)
        QTest::qWait(5);
    QFile::setPermissions(root + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString text = ui.messages[0].text;
    EXPECT_TRUE(text.startsWith("velpra ended without writing its report (exit status ")) << text.toStdString();
    EXPECT_TRUE(text.contains("\n\nvelpra: ") && text.contains("unit 2, file 'pd.out'")) << text.toStdString();
    EXPECT_EQ(ui.messages[0].icon, veldesk::MsgIcon::Critical);
    EXPECT_FALSE(ev->esperando() || busy());
    for (int i = 0; i < 25; ++i)
        ev->tick(); // the run is over: no "Not Found" later
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(seen.windows, 0);
}

// Through the main window: readings pasted, saved, Evaluate clicked and the
// window's own 500 ms timer opening the results.
TEST_F(EvaluationRun, MainWindowSaveEvaluateAndResultsForAHundredReadings)
{
    Form1 form;
    form.evaluation().setEngineProgram(builtProgram(VELPRA_EXE));
    form.show();
    form.Text1[3]->setText(root + "/hundred.pd");
    form.Text1[1]->setText("0.05");
    QStringList readings;
    for (int i = 0; i < 100; ++i)
        readings << QStringLiteral("0.2\t%1\t%2").arg(300 + i).arg(1200 + 10 * i);
    QApplication::clipboard()->setText(readings.join("\r"));
    form.Command8->click(); // Paste
    form.Command4->click(); // Save
    ui.messages.clear();

    QElapsedTimer clock;
    clock.start();
    form.Command1->click(); // Evaluate
    for (int i = 0; i < 300 && seen.windows == 0; ++i)
        QTest::qWait(10);
    std::cout << "[ timing ] Evaluate click to results window, 100 readings: " << clock.elapsed() << " ms\n";
    ASSERT_EQ(seen.windows, 1) << ui.texts().join("|").toStdString();
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join("|").toStdString();
    ASSERT_EQ(seen.rows.size(), 100);
    EXPECT_EQ(seen.rows.first(), kRow1.mid(6));
    EXPECT_TRUE(seen.rows.last().startsWith("  0.2000    399.   2190.")) << seen.rows.last().toStdString();
    EXPECT_EQ(readFile(root + "/hundred.out"), readFile(root + "/pd.out"));
    EXPECT_NE(form.cursor().shape(), Qt::WaitCursor);
}

} // namespace
