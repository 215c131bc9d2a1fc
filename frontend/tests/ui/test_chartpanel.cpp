// The site charts in their panel: what each chart draws for an analysis and
// how a change of unit redraws it, the chart as a picture (clipboard, PNG,
// SVG), and the print preview's pages.
#include "analysis.h"
#include "analysischarts.h"
#include "chartdata.h"
#include "chartpanel.h"
#include "report.h"
#include "scripted_ui.h"
#include "siteprinting.h"
#include "sitereport.h"
#include "test_support.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QStandardPaths>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLegend>
#include <QLogValueAxis>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>

using namespace veldesk;

namespace {

sitestats::Reading reading(int point, double ks, bool w = false, double dtheta = 0.2)
{
    sitestats::Reading r;
    r.point = point;
    r.dtheta = dtheta;
    r.tHalf = 300;
    r.tFin = 1200;
    r.ks = ks;
    r.psiM = 0.014;
    r.w = w;
    return r;
}

// Six readings: one W-marked, one with dtheta out of range (flagged), one
// whose Ks is not a number and cannot be drawn.
QList<sitestats::Reading> site()
{
    return {reading(1, 4e-5), reading(2, 5e-5, true), reading(3, 3e-5, false, 0.9),
            reading(4, 6e-5), reading(5, NAN),        reading(6, 4.5e-5)};
}

QScatterSeries* scatter(QChart* chart, const QString& name)
{
    for (QAbstractSeries* s : chart->series())
        if (s->name() == name)
            return qobject_cast<QScatterSeries*>(s);
    return nullptr;
}

// The texts as drawn under an item of the chart (legend, axis), line breaks
// read as blanks.
QStringList drawnTexts(const QGraphicsItem* under)
{
    QStringList out;
    for (const QGraphicsItem* child : under->childItems()) {
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(child); text && text->isVisible())
            out << text->toPlainText().replace(QChar::LineSeparator, ' ').replace('\n', ' ');
        out << drawnTexts(child);
    }
    return out;
}

bool cutShort(const QString& text) { return text.contains("...") || text.contains(QChar(0x2026)); }

} // namespace

TEST(ChartPanel, DrawsEachKindOfReadingAndRedrawsInTheChosenUnit)
{
    ChartPanel panel;
    sitestats::Options o;
    panel.setAnalysis(sitestats::analyse(site(), o), o);
    QChart* ks = panel.ksChart->chart();
    ASSERT_TRUE(ks);
    struct Kind {
        const char* name;
        QList<QPointF> points;
    };
    for (const Kind& k : {Kind{sitecharts::kReadings, {{1, 4e-5}, {4, 6e-5}, {6, 4.5e-5}}},
                          Kind{sitecharts::kWMarked, {{2, 5e-5}}}, Kind{sitecharts::kFlagged, {{3, 3e-5}}}}) {
        QScatterSeries* s = scatter(ks, k.name);
        ASSERT_TRUE(s) << k.name;
        EXPECT_EQ(s->points(), k.points) << k.name;
    }
    QStringList names;
    for (QAbstractSeries* s : ks->series())
        names << s->name();
    EXPECT_TRUE(names.contains(sitecharts::kGeometricMean) && names.contains(sitecharts::kBand)) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains("Design value (geometric mean / 1)")) << names.join(", ").toStdString();
    // ln Ks of the four readings used (not the W-marked one, not the NaN).
    EXPECT_EQ(scatter(panel.probabilityChart->chart(), "ln Ks, sorted")->count(), 4);

    // Another unit, the W-marked reading included: the same readings, in mm/h.
    o.ksUnit = units::Ks::MillimetrePerHour;
    o.includeFlagged = true;
    panel.setAnalysis(sitestats::analyse(site(), o), o);
    ks = panel.ksChart->chart();
    EXPECT_NEAR(scatter(ks, sitecharts::kReadings)->at(0).y(), 4e-5 * 3.6e6, 1e-9);
    EXPECT_NEAR(scatter(ks, sitecharts::kWMarked)->at(0).y(), 5e-5 * 3.6e6, 1e-9);
    auto* y = qobject_cast<QLogValueAxis*>(ks->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(y);
    EXPECT_EQ(y->titleText(), "Ks (mm/h)");
    EXPECT_LE(y->min(), 3e-5 * 3.6e6);
    EXPECT_GE(y->max(), 6e-5 * 3.6e6);
    EXPECT_EQ(scatter(panel.probabilityChart->chart(), "ln Ks, sorted")->count(), 5);
}

// The design line's legend entry names the rule and the safety factor; the
// legend beside the plot must show it whole, down to the chart of the
// analysis window at its smallest (about 980 by 245).
TEST(ChartPanel, TheLegendNamesTheDesignRuleInFull)
{
    sitestats::Options o;
    o.rule = sitestats::Rule::TrimmedMean;
    o.safetyFactor = 2.5;
    const QString label = "Design value (mean without the highest and lowest / 2.5)";
    for (const QSize size : {QSize(980, 240), QSize(480, 300), QSize(640, 420)}) {
        ChartPanel panel;
        panel.setAnalysis(sitestats::analyse(site(), o), o);
        panel.resize(size + QSize(0, 60)); // the tab bar and the buttons
        panel.show();
        QApplication::processEvents();
        QChart* chart = panel.ksChart->chart();
        const QStringList legend = drawnTexts(chart->legend());
        EXPECT_TRUE(legend.contains(label)) << panel.ksChart->width() << ": " << legend.join(" | ").toStdString();
        for (const QString& entry : legend)
            EXPECT_FALSE(cutShort(entry)) << panel.ksChart->width() << ": " << entry.toStdString();
        // The series itself keeps the one-line name.
        QStringList names;
        for (QAbstractSeries* s : chart->series())
            names << s->name();
        EXPECT_TRUE(names.contains(label));
    }
}

// Ks over many decades (a reading the engine could not resolve, an interval
// from two readings): the log axis labels every few decades, never more
// labels than read, and none of them, nor the axis title, is cut short.
TEST(ChartPanel, ALogAxisOverManyDecadesKeepsItsLabelsReadable)
{
    struct Case {
        double lo, hi; // log10 of the smallest and the largest Ks
        int step;
        QString bottom, top;
    };
    const Case cases[] = {
        {-5, -3, 1, "1e-05", "1e-03"},
        {-11, -3, 2, "1e-12", "1e-02"},
        {-15, 5, 5, "1e-15", "1e+05"},
        {-40, 20, 10, "1e-40", "1e+20"}, // as far as a float the engine writes reaches
    };
    for (const Case& c : cases) {
        sitecharts::KsInput in;
        in.unit = "m/s";
        for (int i = 0; i < 8; ++i)
            in.readings.push_back({i + 1, std::pow(10.0, c.lo + (c.hi - c.lo) * i / 7), false, false});
        in.geometricMean = std::pow(10.0, (c.lo + c.hi) / 2);
        in.designValue = *in.geometricMean / 2;
        in.designLabel = "Design value (geometric mean / 2)";
        // The analysis window's chart at its smallest, and a small picture.
        for (const QSize size : {QSize(980, 244), QSize(420, 300)}) {
            QChartView view(sitecharts::ksChart(in));
            view.resize(size);
            view.show();
            QApplication::processEvents();
            auto* y = qobject_cast<QLogValueAxis*>(view.chart()->axes(Qt::Vertical).value(0));
            ASSERT_TRUE(y);
            EXPECT_NEAR(std::log10(y->base()), c.step, 1e-9) << c.lo;
            EXPECT_LE(y->tickCount(), chartdata::kMaxLogLabels) << c.lo;
            EXPECT_EQ(y->titleText(), "Ks (m/s)");
            const QStringList texts = drawnTexts(view.chart());
            EXPECT_TRUE(texts.contains(c.bottom) && texts.contains(c.top))
                << c.lo << " " << size.width() << ": " << texts.join(" | ").toStdString();
            for (const QString& t : texts)
                EXPECT_FALSE(cutShort(t)) << c.lo << " " << size.width() << ": " << t.toStdString();
            if (!qEnvironmentVariableIsEmpty("VELDESK_KEEP_CHARTS"))
                view.grab().save(QStringLiteral("%1/ks_%2_decades_%3.png")
                                     .arg(qEnvironmentVariable("VELDESK_KEEP_CHARTS"))
                                     .arg(c.hi - c.lo)
                                     .arg(size.width()));
        }
    }
}

TEST(ChartPanel, CopiesAndSavesTheChartInViewAsAPicture)
{
    ScriptedSeam ui;
    QTemporaryDir tmp;
    ChartPanel panel;
    panel.resize(640, 420);
    panel.show();
    sitestats::Options o;
    panel.setAnalysis(sitestats::analyse(site(), o), o);
    QStringList proposed;
    QString answer;
    panel.askSavePath = [&](QWidget*, const QString& p) {
        proposed << p;
        return answer;
    };

    QApplication::clipboard()->clear();
    panel.copyChart->click();
    EXPECT_EQ(QApplication::clipboard()->image().size(), panel.ksChart->size() * panel.devicePixelRatio());

    answer = tmp.filePath("ks.png");
    panel.saveChart->click();
    EXPECT_EQ(QImage(answer).size(), panel.ksChart->size() * panel.devicePixelRatio());

    panel.chartTabs->setCurrentIndex(1);
    answer = tmp.filePath("plot.svg");
    panel.saveChart->click();
    const QByteArray svg = readFile(answer);
    EXPECT_TRUE(svg.contains("<svg") && svg.contains("Normal probability plot of ln Ks")) << svg.left(200).data();
    EXPECT_EQ(proposed, QStringList({"ks_chart.png", "probability_plot.png"}));

    answer.clear(); // cancelled: nothing written, nothing said
    panel.saveChart->click();
    answer = tmp.filePath("no/such/dir/plot.png");
    panel.saveChart->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("The chart could not be saved in " + answer));
    EXPECT_FALSE(QFile::exists(answer));
}

TEST(SitePrinting, PreviewShowsThePrintoutAndExportWritesThePdf)
{
    ScriptedSeam ui;
    QTemporaryDir tmp;
    reportprinter::SiteReport r;
    r.reportLines = reportLines({kRow1, kRow2});
    r.designValue = "1 m/s";
    QPrintPreviewDialog* dialog = siteprinting::preview(nullptr, r);
    dialog->open();
    auto* view = dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_TRUE(view);
    view->updatePreview();
    EXPECT_EQ(view->pageCount(), 2); // the summary and one page of report
    dialog->close();

    // A whole summary, its statistics included: turned to landscape, the
    // chart no longer fits under it and takes a page of its own.
    QList<sitestats::Reading> readings;
    ASSERT_TRUE(sitestats::readingsOfReport(r.reportLines, &readings));
    dialog = siteprinting::preview(nullptr, sitereport::siteReport(r.reportLines, sitestats::analyse(readings), {}));
    dialog->open();
    view = dialog->findChild<QPrintPreviewWidget*>();
    view->updatePreview();
    EXPECT_EQ(view->pageCount(), 2);
    view->setLandscapeOrientation();
    view->updatePreview();
    EXPECT_EQ(view->pageCount(), 3);
    dialog->close();

    // Without a data-set path the proposed name is the data set's, from the
    // processed-file line.
    QString proposed;
    const QString written = siteprinting::exportPdf(nullptr, r, QString(), [&](QWidget*, const QString& p) {
        proposed = p;
        return tmp.filePath("site"); // typed without ".pdf"
    });
    EXPECT_EQ(proposed, "set.pdf");
    EXPECT_EQ(written, tmp.filePath("site.pdf"));
    EXPECT_TRUE(readFile(written).startsWith("%PDF"));
    EXPECT_EQ(siteprinting::exportPdf(nullptr, r, QString(),
                                      [&](QWidget*, const QString&) { return tmp.filePath("x/y.pdf"); }),
              "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("The PDF could not be written")) << ui.messages[0].text.toStdString();
}

TEST(AnalysisCharts, FollowTheWindowsChoicesAndPrintWhatItShows)
{
    QStandardPaths::setTestModeEnabled(true); // the window's remembered choices stay out of the user's
    ScriptedSeam ui;
    QTemporaryDir tmp;
    writeFile(tmp.filePath("pd.out"), reportOf({kRow1, kRow2}));
    AnalysisWindow window(tmp.filePath("pd.out"), tmp.filePath("set.pd"));
    window.includeFlagged->setChecked(false);
    window.ksUnit->setCurrentIndex(window.ksUnit->findText("m/s"));
    auto* extra = window.findChild<AnalysisCharts*>();
    ASSERT_TRUE(extra);
    EXPECT_EQ(window.tabs->tabText(window.tabs->indexOf(extra->charts)), "Charts");
    QBoxLayout* row = window.buttonRow();
    EXPECT_EQ(row->indexOf(extra->print), row->indexOf(window.exportCsv) + 1);
    EXPECT_EQ(row->indexOf(extra->exportPdf), row->indexOf(window.exportCsv) + 2);
    EXPECT_EQ(extra->print->text(), QString("Print\u2026"));
    EXPECT_EQ(extra->exportPdf->text(), QString("Export PDF\u2026"));

    // Reading 2 is W-marked: drawn as such, and in the probability plot only
    // once W-marked readings are included.
    auto probabilityPoints = [&] { return scatter(extra->charts->probabilityChart->chart(), "ln Ks, sorted")->count(); };
    EXPECT_EQ(scatter(extra->charts->ksChart->chart(), sitecharts::kWMarked)->points(), QList<QPointF>({{2, 0.8684e-6}}));
    EXPECT_EQ(probabilityPoints(), 1);
    window.includeFlagged->setChecked(true);
    EXPECT_EQ(probabilityPoints(), 2);
    window.ksUnit->setCurrentIndex(window.ksUnit->findText("mm/h"));
    EXPECT_EQ(extra->charts->ksChart->chart()->axes(Qt::Vertical).value(0)->titleText(), "Ks (mm/h)");
    QStringList lines;
    ASSERT_TRUE(report::readLines(tmp.filePath("pd.out"), &lines));
    EXPECT_EQ(extra->siteReport().reportLines, lines);
    EXPECT_TRUE(extra->siteReport().designRule.contains("Ks in mm/h"));

    extra->choosePdfPath = [&](QWidget*, const QString&) { return tmp.filePath("site.pdf"); };
    extra->exportPdf->click();
    EXPECT_TRUE(readFile(tmp.filePath("site.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(ui.messages.empty());
}

// Export PDF proposes the data set's own folder, never the folder the program
// was started in, and the data set's name with ".pdf" as Export CSV names
// its file "_analysis.csv" there.
TEST(AnalysisCharts, ExportPdfProposesTheDataSetsFolder)
{
    QStandardPaths::setTestModeEnabled(true);
    ScriptedSeam ui;
    QTemporaryDir tmp;
    writeFile(tmp.filePath("pd.out"), reportOf({kRow1, kRow2}));
    const QString dataSet = tmp.filePath("fields/orchard.v2.pd");
    ASSERT_NE(QFileInfo(dataSet).absolutePath(), QDir::currentPath());
    AnalysisWindow window(tmp.filePath("pd.out"), dataSet);
    auto* extra = window.findChild<AnalysisCharts*>();
    ASSERT_TRUE(extra);
    QStringList proposed;
    const auto cancel = [&](QWidget*, const QString& p) {
        proposed << p;
        return QString();
    };
    window.chooseCsvPath = cancel;
    extra->choosePdfPath = cancel;
    window.exportCsv->click();
    extra->exportPdf->click();
    EXPECT_EQ(proposed, QStringList({tmp.filePath("fields/orchard.v2_analysis.csv"), tmp.filePath("fields/orchard.v2.pdf")}));
    EXPECT_TRUE(ui.messages.empty()) << "cancelled: nothing written, nothing said";
    EXPECT_FALSE(QFile::exists(tmp.filePath("fields/orchard.v2.pdf")));
}
