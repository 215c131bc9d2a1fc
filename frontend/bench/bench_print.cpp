// How long the printed report and the Ks chart take: a PDF of a 1000-reading
// report, and one redraw of the chart of 100 readings (built anew, laid out
// and painted, as the analysis window does when a choice changes).
//   build/bin/bench_print --benchmark_min_time=2
#include "reportprinter.h"
#include "sitecharts.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace veldesk;

namespace {

// A report of n readings in the engine's layout.
QStringList report(int n)
{
    QStringList lines(16, QStringLiteral("  "));
    lines[9] = QStringLiteral(" |         v0.3 for DOS and UNIX                    |");
    lines << QStringLiteral("Processed file:bench.pd").leftJustified(80)
          << QStringLiteral(" Description:  Benchmark site").leftJustified(65)
          << QStringLiteral(" Pipe dimensions used: ri= 0.0180 m; h0=   0.30 m") << QString()
          << QStringLiteral("Point #  dtheta  tmed    tmax  delta0  romax  romed    a   W      Ks    Psi_m")
          << QStringLiteral("        (cm3/cm3) (s)    (s)                                     (m/s)   (m)")
          << QString(79, '-');
    for (int i = 1; i <= n; ++i)
        lines << QString::asprintf("%6d%8.4f%7.0f.%7.0f.%7.2f%7.2f%7.2f%7.2f   0.%04dE-04%7.4f", i, 0.2, 300.0,
                                   1200.0, 180.0, 5.66, 4.50, 5.92, 1000 + i % 9000, 0.0140);
    lines << QString(79, '-') << QStringLiteral(" W=*, warning, root found outside domain") << QString();
    return lines;
}

sitecharts::KsInput chartInput(int n)
{
    sitecharts::KsInput in;
    in.unit = QStringLiteral("mm/h");
    for (int i = 1; i <= n; ++i)
        in.readings.push_back({i, 100.0 * std::exp(std::sin(i * 1.7)), i % 17 == 0, i % 11 == 0});
    in.geometricMean = 100.0;
    in.ciLow = 80.0;
    in.ciHigh = 125.0;
    in.designValue = 50.0;
    in.designLabel = QStringLiteral("Design value (geometric mean / 2)");
    return in;
}

void BM_Pdf1000Readings(benchmark::State& state)
{
    QTemporaryDir dir;
    reportprinter::SiteReport r;
    r.reportLines = report(1000);
    r.date = QStringLiteral("2026-12-09");
    r.frontEndVersion = reportprinter::frontEndVersion();
    r.statistics = {{QStringLiteral("Readings"), QStringLiteral("1000")}};
    r.designValue = QStringLiteral("50 mm/h");
    r.chart = chartInput(1000);
    for (auto _ : state)
        benchmark::DoNotOptimize(reportprinter::writePdf(r, dir.filePath(QStringLiteral("bench.pdf"))));
}
BENCHMARK(BM_Pdf1000Readings)->Unit(benchmark::kMillisecond);

void BM_KsChartRedraw100Readings(benchmark::State& state)
{
    QChartView view;
    view.resize(760, 420);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    const sitecharts::KsInput in = chartInput(100);
    for (auto _ : state) {
        view.setChart(sitecharts::ksChart(in)); // the view deletes the previous chart
        QPainter p(&image);
        view.render(&p);
    }
}
BENCHMARK(BM_KsChartRedraw100Readings)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
