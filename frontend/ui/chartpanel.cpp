#include "chartpanel.h"

#include "chartexport.h"
#include "seam.h"
#include "sitereport.h"

#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace veldesk {

namespace {

QChartView* chartView(const char* name)
{
    auto* view = new QChartView;
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 240);
    return view;
}

QString desktopSavePath(QWidget* parent, const QString& proposed)
{
    const QString png = QStringLiteral("PNG picture (*.png)"), svg = QStringLiteral("SVG drawing (*.svg)");
    QString chosen;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save chart"), proposed,
                                                png + QStringLiteral(";;") + svg, &chosen);
    // The kind is told by the name's ending: a name typed without one gets
    // that of the kind chosen in the dialog.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += chosen == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    return path;
}

} // namespace

ChartPanel::ChartPanel(QWidget* parent) : QWidget(parent), askSavePath(desktopSavePath)
{
    setObjectName(QStringLiteral("chartPanel"));
    chartTabs = new QTabWidget(this);
    chartTabs->setObjectName(QStringLiteral("chartTabs"));
    ksChart = chartView("ksChart");
    probabilityChart = chartView("probabilityChart");
    chartTabs->addTab(ksChart, QStringLiteral("Ks per reading"));
    chartTabs->addTab(probabilityChart, QStringLiteral("Probability plot"));

    copyChart = new QPushButton(QStringLiteral("Copy chart"), this);
    copyChart->setObjectName(QStringLiteral("copyChart"));
    copyChart->setToolTip(QStringLiteral("Copy the chart in view to the clipboard as a picture"));
    saveChart = new QPushButton(QStringLiteral("Save chart\u2026"), this);
    saveChart->setObjectName(QStringLiteral("saveChart"));
    saveChart->setToolTip(QStringLiteral("Save the chart in view as a PNG picture or an SVG drawing"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyChart);
    buttons->addWidget(saveChart);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chartTabs, 1);
    layout->addLayout(buttons);

    connect(copyChart, &QPushButton::clicked, this, [this] { chartexport::copyToClipboard(*currentView()); });
    connect(saveChart, &QPushButton::clicked, this, &ChartPanel::saveCurrentChart);
}

QChartView* ChartPanel::currentView() const
{
    return chartTabs->currentIndex() == 1 ? probabilityChart : ksChart;
}

void ChartPanel::setAnalysis(const sitestats::Analysis& analysis, const sitestats::Options& options)
{
    // A view owns the chart it shows but lets go of the one it showed before
    // without deleting it: every redraw would otherwise leave a chart behind.
    const auto replace = [](QChartView* view, QChart* chart) {
        QChart* before = view->chart();
        view->setChart(chart);
        delete before;
    };
    replace(ksChart, sitecharts::ksChart(sitereport::ksInput(analysis, options)));
    replace(probabilityChart, sitecharts::probabilityChart(sitereport::probabilityInput(analysis, options)));
}

void ChartPanel::saveCurrentChart()
{
    const QString proposed = currentView() == ksChart ? QStringLiteral("ks_chart.png")
                                                      : QStringLiteral("probability_plot.png");
    const QString path = askSavePath(this, proposed);
    if (path.isEmpty())
        return;
    QString error;
    if (!chartexport::save(*currentView(), path, &error))
        veldesk::showMessage(this, QStringLiteral("The chart could not be saved in %1: %2").arg(path, error),
                             veldesk::MsgIcon::Critical);
}

} // namespace veldesk
