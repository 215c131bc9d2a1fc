#pragma once
// The site charts as the analysis window shows them: a tab for Ks per reading
// and one for the normal probability plot of ln Ks, with "Copy chart" (a
// picture on the clipboard) and "Save chart..." (PNG or SVG) acting on the
// chart in view. The window hands over its analysis whenever the rule, the
// unit or the inclusion of W-marked readings changes.
#include "sitestats.h"

#include <QWidget>
#include <functional>

class QChartView;
class QPushButton;
class QTabWidget;

namespace veldesk {

class ChartPanel : public QWidget {
    Q_OBJECT
public:
    explicit ChartPanel(QWidget* parent = nullptr);

    // Both charts drawn anew for the analysis, in the options' units.
    void setAnalysis(const sitestats::Analysis& analysis, const sitestats::Options& options);

    // Asks where to save a chart: the path, or empty when cancelled. The
    // desktop's save dialog unless replaced (tests).
    std::function<QString(QWidget* parent, const QString& proposed)> askSavePath;

    QTabWidget* chartTabs;
    QChartView* ksChart;
    QChartView* probabilityChart;
    QPushButton* copyChart;
    QPushButton* saveChart;

    QChartView* currentView() const;

private:
    void saveCurrentChart();
};

} // namespace veldesk
