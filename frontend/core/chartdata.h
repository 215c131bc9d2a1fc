#pragma once
// The numbers behind the site charts, apart from any drawing: the points of a
// normal probability plot of ln Ks with the line of the fitted log-normal,
// and the decades a logarithmic Ks axis spans. Pure and testable; the chart
// builders only turn these into series.
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace veldesk {

namespace chartdata {

// A normal probability plot: x the standard normal quantile of each plotting
// position, y the sorted values. The line is that of the normal distribution
// fitted by the values' mean and sample standard deviation, y = mean + sd * x,
// so points off the line show where the log-normal assumption strains.
struct ProbabilityPlot {
    QList<QPointF> points;   // ascending in both x and y
    double mean = 0.0;
    std::optional<double> sd; // none for fewer than two values
};

// Plotting positions by Blom, (i - 3/8) / (n + 1/4) for i = 1..n: nearly
// unbiased normal order statistics for the small sets a site gives.
double blomPosition(int i, int n);

// Non-finite values are left out; the rest are sorted.
ProbabilityPlot probabilityPlot(std::vector<double> values);

// The fitted line's ends at the x range of the points (empty without sd).
QList<QPointF> fittedLine(const ProbabilityPlot& plot);

// Whole decades [10^lo, 10^hi] covering every finite positive value, with at
// least one decade; none when there is no such value. The decades stay
// within 1e-323 ... 1e308, the powers of ten a double holds.
struct Decades {
    double min;
    double max;
};
std::optional<Decades> decadeRange(const std::vector<double>& values);

// The labels of a logarithmic axis over the decades: one every `step`
// decades, the smallest step of 1, 2, 5, 10, 20, 50, ... that leaves at most
// maxLabels, with the range widened to whole steps so that both of its ends
// are labelled. Readings many decades apart (a reading the engine could not
// resolve, an interval from two readings) would otherwise give a label per
// decade, and a chart whose labels crowd elides every one of them. Eight
// still read on the smallest chart the analysis window shows.
inline constexpr int kMaxLogLabels = 8;
struct LogAxis {
    Decades range;
    int step = 1;   // decades from one label to the next
    int labels = 0; // labels on the range, both ends included
};
LogAxis logAxis(const Decades& decades, int maxLabels = kMaxLogLabels);

// A legend text broken into lines at blanks, each line as many whole words
// as fit maxWidth by the measure given (a font's advance for a chart); a word
// wider than that stands alone on its line and is never cut. A chart's legend
// cuts a long entry short, and the design line's entry names its rule and
// safety factor, which must stay readable.
QStringList wrapWords(const QString& text, double maxWidth, const std::function<double(const QString&)>& width);

} // namespace chartdata

} // namespace veldesk
