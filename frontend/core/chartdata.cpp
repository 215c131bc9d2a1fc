#include "chartdata.h"

#include "sitestats.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>

namespace veldesk {

namespace chartdata {

namespace {
// The decades of the smallest and the largest power of ten a double holds
// (1e-323 only as a subnormal number).
constexpr double kLowestDecade = -323;
constexpr double kHighestDecade = 308;
} // namespace

double blomPosition(int i, int n) { return (i - 0.375) / (n + 0.25); }

ProbabilityPlot probabilityPlot(std::vector<double> values)
{
    std::erase_if(values, [](double v) { return !std::isfinite(v); });
    std::sort(values.begin(), values.end());
    ProbabilityPlot plot;
    const int n = int(values.size());
    if (n == 0)
        return plot;
    const boost::math::normal standard;
    for (int i = 0; i < n; ++i)
        plot.points.append({boost::math::quantile(standard, blomPosition(i + 1, n)), values[i]});
    // The line is the log-normal the statistics assume: their mean and SD.
    const QList<double> list(values.begin(), values.end());
    plot.mean = sitestats::mean(list);
    if (n > 1)
        plot.sd = sitestats::sd(list);
    return plot;
}

QList<QPointF> fittedLine(const ProbabilityPlot& plot)
{
    if (!plot.sd || plot.points.isEmpty())
        return {};
    const double x0 = plot.points.front().x();
    const double x1 = plot.points.back().x();
    return {{x0, plot.mean + *plot.sd * x0}, {x1, plot.mean + *plot.sd * x1}};
}

std::optional<Decades> decadeRange(const std::vector<double>& values)
{
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (double v : values)
        if (std::isfinite(v) && v > 0.0) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    if (lo > hi)
        return std::nullopt;
    // A tiny tolerance keeps an exact power of ten (1e-5 computed as
    // 0.99999...e-5) from opening a decade of its own.
    double a = std::max(kLowestDecade, std::floor(std::log10(lo) + 1e-9));
    double b = std::min(kHighestDecade, std::ceil(std::log10(hi) - 1e-9));
    if (b <= a)
        b = a + 1;
    return Decades{std::pow(10.0, a), std::pow(10.0, b)};
}

LogAxis logAxis(const Decades& decades, int maxLabels)
{
    const double lo = std::round(std::log10(decades.min)), hi = std::round(std::log10(decades.max));
    const int most = std::max(2, maxLabels);
    LogAxis axis;
    for (int scale = 1;; scale *= 10)
        for (int mantissa : {1, 2, 5}) {
            const int step = mantissa * scale;
            // Whole steps around the decades, as far as a double reaches.
            const double a = std::max(std::floor(lo / step) * step, kLowestDecade);
            const double b = std::min(std::ceil(hi / step) * step, kHighestDecade);
            const int labels = int(std::floor(b / step) - std::ceil(a / step)) + 1;
            if (labels <= most || step >= kHighestDecade - kLowestDecade) {
                axis.range = {std::pow(10.0, a), std::pow(10.0, b)};
                axis.step = step;
                axis.labels = labels;
                return axis;
            }
        }
}

QStringList wrapWords(const QString& text, double maxWidth, const std::function<double(const QString&)>& width)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (line.isEmpty() || width(longer) <= maxWidth) {
            line = longer;
        } else {
            lines << line;
            line = word;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

} // namespace chartdata

} // namespace veldesk
