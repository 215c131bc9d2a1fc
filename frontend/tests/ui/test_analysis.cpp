// The analysis window on reports written by the test: what the choices do to
// the figures, the choices kept across runs, Copy in the operator's number
// format, Export CSV, and the button that opens it from the results window.
#include "Form2.h"
#include "analysis.h"
#include "numberbox.h"
#include "scripted_ui.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace veldesk;

namespace {

// Ks 1, 2 and 4 e-5 m/s and one W-marked reading.
const QStringList kRows{"     1  0.2000    300.   1200. 180.00   5.66   4.50   5.92   0.1000E-04 0.0140",
                        "     2  0.7000    300.   1200. 180.00   5.66   4.50   5.92   0.2000E-04 0.0140",
                        "     3  0.2000    300.   1200. 180.00   5.66   4.50   5.92   0.4000E-04 0.0140", kRow2};

struct Analysis : ::testing::Test {
    QTemporaryDir tmp;
    QString dir = tmp.path();
    ScriptedSeam ui;

    void SetUp() override
    {
        // The choices go to a settings file of the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir + "/config");
        writeFile(dir + "/pd.out", reportOf(kRows));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    std::unique_ptr<AnalysisWindow> open() { return std::make_unique<AnalysisWindow>(dir + "/pd.out", dir + "/site.pd"); }

    static QString figure(const AnalysisWindow& w, const QString& label)
    {
        for (int r = 0; r < w.statistics->rowCount(); ++r)
            if (w.statistics->item(r, 0)->text() == label)
                return w.statistics->item(r, 1)->text() + "|" + w.statistics->item(r, 2)->text();
        return "<none>";
    }
};

} // namespace

TEST_F(Analysis, ChoicesChangeTheFiguresAndAreKeptAcrossRuns)
{
    {
        const auto w = open();
        EXPECT_EQ(w->tabs->tabText(0), "Statistics");
        EXPECT_EQ(figure(*w, "Readings used"), "3|");
        EXPECT_EQ(figure(*w, "Ks geometric mean"), "2.000e-05|m/s"); // 4 significant digits
        EXPECT_EQ(w->readings->rowCount(), 4);
        EXPECT_EQ(w->readings->item(1, 8)->text(), "dtheta");
        EXPECT_EQ(w->readings->item(3, 7)->text(), "no");

        int changes = 0;
        QObject::connect(w.get(), &AnalysisWindow::analysisChanged, [&] { ++changes; });
        w->ksUnit->setCurrentText("mm/h");
        w->rule->setCurrentIndex(w->rule->findData("min"));
        w->safetyFactor->setValue(2);
        w->includeFlagged->setChecked(true);
        EXPECT_EQ(changes, 4);
        EXPECT_EQ(figure(*w, "Readings used"), "4|");
        EXPECT_EQ(figure(*w, "Design value: minimum / 2"), "1.563|mm/h"); // 8.684e-7 m/s * 3.6e6 / 2
        EXPECT_EQ(w->readings->horizontalHeaderItem(4)->text(), "Ks (mm/h)");
        EXPECT_EQ(w->readings->item(0, 4)->text(), "36.00");
    }
    const auto again = open();
    EXPECT_EQ(again->ksUnit->currentText(), "mm/h");
    EXPECT_EQ(again->rule->currentData().toString(), "min");
    EXPECT_EQ(again->safetyFactor->value(), 2);
    EXPECT_TRUE(again->includeFlagged->isChecked());
    EXPECT_EQ(again->options().ksUnit, units::Ks::MillimetrePerHour);
}

// The operator types the safety factor and the precision as the grid takes a
// number: "," or "." as the decimal mark under any settings, any factor from 1
// up. A text that is not such a number is refused where it was typed, in red,
// and the figures keep the last value read.
TEST_F(Analysis, TypedSafetyFactorAndPrecisionAreReadAsTheGridReadsNumbers)
{
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        const auto w = open();
        const auto typeInto = [](NumberBox* box, const QString& text) {
            box->clear();
            QTest::keyClicks(box, text);
        };
        typeInto(w->safetyFactor, "2,5");
        EXPECT_EQ(w->options().safetyFactor, 2.5);
        typeInto(w->safetyFactor, "2.5");
        EXPECT_EQ(w->options().safetyFactor, 2.5);
        typeInto(w->safetyFactor, "150");
        EXPECT_EQ(w->options().safetyFactor, 150);
        EXPECT_FALSE(w->safetyFactor->refused());
        for (const char* bad : {"abc", "0.5", "-2", "e5", "0"}) { // no leading part of them is a factor either
            typeInto(w->safetyFactor, bad);
            EXPECT_TRUE(w->safetyFactor->refused()) << bad;
            EXPECT_EQ(w->safetyFactor->text(), bad); // kept as typed, not replaced by another number
            EXPECT_EQ(w->options().safetyFactor, 150) << bad;
            EXPECT_TRUE(w->safetyFactor->styleSheet().contains("background")) << bad;
            EXPECT_TRUE(w->safetyFactor->toolTip().startsWith("The safety factor must be")) << bad;
        }
        typeInto(w->precision, "12,5 %");
        EXPECT_DOUBLE_EQ(w->options().precision, 0.125);
        typeInto(w->precision, "250");
        EXPECT_DOUBLE_EQ(w->options().precision, 2.5);
        typeInto(w->precision, "0");
        EXPECT_TRUE(w->precision->refused());
        EXPECT_DOUBLE_EQ(w->options().precision, 2.5);
        w->close();
    }
}

// However long the labels grow with the rule and the safety factor, every
// value and unit is seen whole, at the window's size and in a narrow one.
TEST_F(Analysis, EveryValueAndUnitFitsItsColumn)
{
    const auto w = open();
    w->rule->setCurrentIndex(w->rule->findData("trimmed-mean"));
    w->safetyFactor->setValue(2.5);
    for (const QSize size : {QSize(1000, 640), QSize(700, 500)}) {
        w->resize(size);
        w->show();
        QApplication::processEvents();
        QTableWidget* t = w->statistics;
        const int right = t->columnViewportPosition(2) + t->columnWidth(2);
        EXPECT_LE(right, t->viewport()->width()) << size.width();
        for (int r = 0; r < t->rowCount(); ++r) {
            for (const int c : {1, 2}) {
                const QTableWidgetItem* it = t->item(r, c);
                const int needed = QFontMetrics(it->font()).horizontalAdvance(it->text());
                EXPECT_LE(needed, t->columnWidth(c) - 4) << it->text().toStdString() << " in row " << r;
            }
        }
    }
    EXPECT_EQ(figure(*w, "Design value: mean without the highest and lowest / 2.5").section('|', 1), "m/s");
}

// A figure that cannot be computed is written out, as on paper and in
// velstat's text; the copy for spreadsheets leaves its field empty.
TEST_F(Analysis, AnUndefinedFigureIsSaidInWordsAndLeftEmptyForSpreadsheets)
{
    writeFile(dir + "/pd.out", reportOf({kRow1}));
    const auto w = open();
    EXPECT_EQ(figure(*w, "Ks standard deviation"), "undefined|m/s");
    EXPECT_EQ(figure(*w, "Ks geometric standard deviation"), "undefined|");
    EXPECT_TRUE(w->copyText().contains("Ks standard deviation\t\tm/s\n")) << w->copyText().toStdString();
}

TEST_F(Analysis, CopyUsesTheOperatorsNumberFormatAndExportWritesCsv)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto w = open();
    w->copy->click();
    const QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(text.contains("\nKs arithmetic mean\t2,33333333333333E-05\tm/s\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nKs geometric mean\t2E-05\tm/s\n"));
    EXPECT_TRUE(text.contains("\n2\t0,7\t300\t1200\t2E-05\t0,014\t\tyes\tdtheta\n")); // no digit grouping

    QString proposed;
    w->chooseCsvPath = [&](QWidget*, const QString& p) {
        proposed = p;
        return QString(); // cancelled
    };
    w->exportCsv->click();
    EXPECT_EQ(proposed, QDir(dir).filePath("site_analysis.csv"));
    EXPECT_FALSE(QFile::exists(proposed));

    // For spreadsheets: a byte-order mark, CR LF, and the unit in ASCII.
    w->ksUnit->setCurrentIndex(w->ksUnit->findData(int(units::Ks::MicrometrePerSecond)));
    w->chooseCsvPath = [&](QWidget*, const QString&) { return dir + "/out.csv"; };
    w->exportCsv->click();
    const QByteArray bytes = readFile(dir + "/out.csv");
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    ASSERT_GE(lines.size(), 8);
    EXPECT_TRUE(lines[0].startsWith("file,readings,used,excluded,ks_gm,"));
    EXPECT_TRUE(lines[1].contains(",4,3,1,20,2,")) << lines[1].toStdString(); // "." whatever the locale
    EXPECT_TRUE(lines[1].contains(",um/s,m,")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "file,point,dtheta,t_half,t_fin,ks,psi_m,w,flags,used");
    EXPECT_TRUE(lines[7].endsWith(",1,,0")) << lines[7].toStdString(); // W-marked, not used
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Analysis, OpenedFromAButtonInTheResultsWindowsFreeSpace)
{
    Form2 results(dir + "/pd.out", dir + "/site.pd");
    ASSERT_TRUE(results.Command5);
    EXPECT_EQ(results.Command5->text(), QString::fromUtf8("Analysis\u2026"));
    const QRect place = results.Command5->geometry();
    EXPECT_TRUE(results.rect().contains(place));
    for (QWidget* other : results.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (other != results.Command5 && other->isVisibleTo(&results)) {
            EXPECT_FALSE(other->geometry().intersects(place)) << other->objectName().toStdString();
        }

    // The window opens modally; close it as soon as it shows.
    bool opened = false;
    QMetaObject::invokeMethod(
        &results,
        [&] {
            auto* w = results.findChild<AnalysisWindow*>();
            opened = w && w->readings->rowCount() == 4 && w->reportPath() == QString(dir + "/site.out");
            if (w)
                w->reject();
        },
        Qt::QueuedConnection);
    results.Command5->click();
    EXPECT_TRUE(opened);
}

// A starred Δθ costs its own value only: every reading is there, the report
// counts as complete, and the interval of 3 readings says what it rests on.
TEST_F(Analysis, StarredFieldsAndFewReadings)
{
    QStringList rows = kRows;
    rows[1] = "     2********    300.   1200. 180.00   5.66   4.50   5.92   0.2000E-04 0.0140";
    writeFile(dir + "/pd.out", reportOf(rows));
    const auto w = open();
    EXPECT_FALSE(w->notice->isVisibleTo(w.get()));
    EXPECT_EQ(w->readings->rowCount(), 4);
    EXPECT_EQ(w->readings->item(1, 8)->text(), "dtheta");
    EXPECT_EQ(figure(*w, "Readings used"), "3|");
    EXPECT_EQ(figure(*w, "Ks GM 95 % confidence, low (rests on 3 readings)"), "3.575e-06|m/s");
    EXPECT_EQ(figure(*w, "Readings for the GM within \u00b120 % (an estimate from 3 readings)"), "58|");

    // A report cut short is named as such.
    writeFile(dir + "/pd.out", reportLines(rows).mid(0, 25).join("\r\n").toLatin1());
    const auto cut = open();
    EXPECT_TRUE(cut->notice->isVisibleTo(cut.get()));
    EXPECT_EQ(cut->readings->rowCount(), 2);
}

// A rule kept from an earlier session that always equalled the median: the
// median is shown, and the window says why.
TEST_F(Analysis, RetiredRuleInTheSettings)
{
    {
        QSettings s(AnalysisWindow::kSettingsOrganization, AnalysisWindow::kSettingsApplication);
        s.setValue("analysis/rule", "trimmed-median");
    }
    const auto w = open();
    EXPECT_EQ(w->rule->currentData().toString(), "median");
    EXPECT_TRUE(w->ruleNotice->isVisibleTo(w.get()));
    EXPECT_TRUE(w->ruleNotice->text().contains("always equals the median")) << w->ruleNotice->text().toStdString();
    EXPECT_GE(w->rule->findData("trimmed-mean"), 0);
    EXPECT_EQ(w->rule->findData("trimmed-median"), -1);

    // Without such a rule the notice stays hidden.
    QSettings(AnalysisWindow::kSettingsOrganization, AnalysisWindow::kSettingsApplication)
        .setValue("analysis/rule", "trimmed-mean");
    const auto again = open();
    EXPECT_EQ(again->rule->currentData().toString(), "trimmed-mean");
    EXPECT_FALSE(again->ruleNotice->isVisibleTo(again.get()));
}
