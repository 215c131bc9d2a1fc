#include "chartdata.h"

#include "sitestats.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>

namespace veldesk {

namespace chartdata {

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
    double a = std::floor(std::log10(lo) + 1e-9);
    double b = std::ceil(std::log10(hi) - 1e-9);
    if (b <= a)
        b = a + 1;
    return Decades{std::pow(10.0, a), std::pow(10.0, b)};
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
