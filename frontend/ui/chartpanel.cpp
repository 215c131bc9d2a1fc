#include "chartpanel.h"

#include "chartexport.h"
#include "seam.h"
#include "sitereport.h"

#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

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
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save chart"), proposed,
                                        QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg)"));
}

} // namespace

ChartPanel::ChartPanel(QWidget* parent) : QWidget(parent), askSavePath(desktopSavePath)
{
    setObjectName(QStringLiteral("ChartPanel"));
    ChartTabs = new QTabWidget(this);
    ChartTabs->setObjectName(QStringLiteral("ChartTabs"));
    KsChart = chartView("KsChart");
    ProbabilityChart = chartView("ProbabilityChart");
    ChartTabs->addTab(KsChart, QStringLiteral("Ks per reading"));
    ChartTabs->addTab(ProbabilityChart, QStringLiteral("Probability plot"));

    CopyChart = new QPushButton(QStringLiteral("Copy chart"), this);
    CopyChart->setObjectName(QStringLiteral("CopyChart"));
    CopyChart->setToolTip(QStringLiteral("Copy the chart in view to the clipboard as a picture"));
    SaveChart = new QPushButton(QStringLiteral("Save chart..."), this);
    SaveChart->setObjectName(QStringLiteral("SaveChart"));
    SaveChart->setToolTip(QStringLiteral("Save the chart in view as a PNG picture or an SVG drawing"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CopyChart);
    buttons->addWidget(SaveChart);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ChartTabs, 1);
    layout->addLayout(buttons);

    connect(CopyChart, &QPushButton::clicked, this, [this] { chartexport::copyToClipboard(*currentView()); });
    connect(SaveChart, &QPushButton::clicked, this, &ChartPanel::saveChart);
}

QChartView* ChartPanel::currentView() const
{
    return ChartTabs->currentIndex() == 1 ? ProbabilityChart : KsChart;
}

void ChartPanel::setAnalysis(const sitestats::Analysis& analysis, const sitestats::Options& options)
{
    // The views delete the charts they showed before.
    KsChart->setChart(sitecharts::ksChart(sitereport::ksInput(analysis, options)));
    ProbabilityChart->setChart(sitecharts::probabilityChart(sitereport::probabilityInput(analysis, options)));
}

void ChartPanel::saveChart()
{
    const QString proposed = currentView() == KsChart ? QStringLiteral("ks_chart.png")
                                                      : QStringLiteral("probability_plot.png");
    const QString path = askSavePath(this, proposed);
    if (path.isEmpty())
        return;
    QString error;
    if (!chartexport::save(*currentView(), path, &error))
        veldesk::showMessage(this, QStringLiteral("The chart could not be saved in %1: %2").arg(path, error),
                             veldesk::MsgIcon::Critical);
}
