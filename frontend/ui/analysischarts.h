#pragma once
// The pictures and the printout of the analysis window: a "Charts" page with
// the Ks chart and the probability plot, redrawn whenever a choice changes the
// figures, and the buttons "Print..." (with a print preview) and
// "Export PDF..." beside the window's other buttons.
#include "reportprinter.h"

#include <QObject>
#include <functional>

class QPushButton;

namespace veldesk {

class AnalysisWindow;
class ChartPanel;

class AnalysisCharts : public QObject {
    Q_OBJECT
public:
    // Adds the page and the buttons to the window, which owns them and this.
    explicit AnalysisCharts(AnalysisWindow& window);

    // The printout of the window's report with its current choices.
    reportprinter::SiteReport siteReport() const;

    // Where "Export PDF..." writes; the desktop's save dialog unless a test
    // replaces it. An empty answer cancels.
    std::function<QString(QWidget* parent, const QString& proposed)> choosePdfPath;

    ChartPanel* charts = nullptr; // none in a build without Qt Charts
    QPushButton* print;
    QPushButton* exportPdf;

private:
    void redraw();
    AnalysisWindow& m_window;
};

} // namespace veldesk
