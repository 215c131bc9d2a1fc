#pragma once
// The two pictures of a site: Ks per reading on a logarithmic axis, with the
// geometric mean, its 95 % band and the design value, and a normal
// probability plot of ln Ks. The builders take plain numbers, already in the
// unit the reader chose, so they serve the analysis window, the printed report
// and the console program alike.
#include <QString>
#include <optional>
#include <vector>

class QChart;

namespace veldesk {

namespace sitecharts {

// One reading as the Ks chart draws it. Readings whose Ks is not finite and
// positive cannot stand on a log axis and are not drawn.
struct Reading {
    int point = 0;          // reading number, from 1
    double ks = 0.0;        // in the chosen unit
    bool wMarked = false;   // the engine's root-finder warning
    bool flagged = false;   // any quality flag of the site analysis
};

struct KsInput {
    QString unit;                         // "m/s", "mm/h", ...
    std::vector<Reading> readings;        // in reading order
    std::optional<double> geometricMean;  // of the readings used, in unit
    std::optional<double> ciLow, ciHigh;  // 95 % interval of the geometric mean
    std::optional<double> designValue;    // in unit
    QString designLabel;                  // legend text of the design line
};

// Series names, shown in the legend.
inline constexpr const char* kReadings = "Readings";
inline constexpr const char* kFlagged = "Flagged";
inline constexpr const char* kWMarked = "W-marked";
inline constexpr const char* kGeometricMean = "Geometric mean";
inline constexpr const char* kBand = "GM 95 % interval";

// A new chart; the caller owns it (a QChartView takes it over).
QChart* ksChart(const KsInput& in);

// ln Ks of the readings used, in the chosen unit's terms (the unit shifts
// ln Ks but not the shape of the plot).
struct ProbabilityInput {
    QString unit;
    std::vector<double> ks; // in unit; non-finite or non-positive values are left out
};

QChart* probabilityChart(const ProbabilityInput& in);

} // namespace sitecharts

} // namespace veldesk
