#include "analysischarts.h"

#include "analysis.h"
#ifndef VELDESK_NO_CHARTS
#include "chartpanel.h"
#endif
#include "siteprinting.h"
#include "sitereport.h"

#include <QBoxLayout>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTabWidget>

namespace veldesk {

AnalysisCharts::AnalysisCharts(AnalysisWindow& window) : QObject(&window), m_window(window)
{
    setObjectName(QStringLiteral("analysisCharts"));
#ifndef VELDESK_NO_CHARTS
    charts = new ChartPanel;
    window.tabs->addTab(charts, QStringLiteral("Charts"));
#endif

    print = new QPushButton(QStringLiteral("Print\u2026"), &window);
    print->setObjectName(QStringLiteral("print"));
    print->setToolTip(QStringLiteral("Print the site report: statistics, design value, Ks chart and the engine's report"));
    exportPdf = new QPushButton(QStringLiteral("Export PDF\u2026"), &window);
    exportPdf->setObjectName(QStringLiteral("exportPdf"));
    exportPdf->setToolTip(QStringLiteral("Write the site report as a PDF file"));
    for (QPushButton* b : {print, exportPdf})
        b->setAutoDefault(false); // Enter in a box must not start printing
    // Beside "Export CSV...", before the stretch and "Close" at the row's end.
    QBoxLayout* row = window.buttonRow();
    int at = row->indexOf(window.exportCsv);
    at = at < 0 ? row->count() : at + 1;
    row->insertWidget(at, print);
    row->insertWidget(at + 1, exportPdf);

    connect(&window, &AnalysisWindow::analysisChanged, this, &AnalysisCharts::redraw);
    connect(print, &QPushButton::clicked, this, [this] { siteprinting::preview(&m_window, siteReport())->open(); });
    connect(exportPdf, &QPushButton::clicked, this,
            [this] { siteprinting::exportPdf(&m_window, siteReport(), m_window.dataSetPath(), choosePdfPath); });
    redraw();
}

reportprinter::SiteReport AnalysisCharts::siteReport() const
{
    return sitereport::siteReport(m_window.reportLines(), m_window.analysis(), m_window.options());
}

void AnalysisCharts::redraw()
{
#ifndef VELDESK_NO_CHARTS
    charts->setAnalysis(m_window.analysis(), m_window.options());
#endif
}

} // namespace veldesk
