#pragma once
// A site's figures from one engine report: the readings as printed, their
// quality flags, the statistics of Ks (log-normal) and Psi_m, the design value
// by the rule a reader's document prescribes, and how many readings would pin
// the geometric mean down to a given precision.
//
// Everything is computed in double precision from the report's printed
// values, in SI (Ks in m/s, Psi_m in m); units.h converts for display. A
// figure that is undefined for the readings at hand (the SD of one reading,
// the median without extremes of two) is NaN.
#include "report.h"
#include "figuretext.h"
#include "units.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <limits>
#include <optional>

namespace veldesk {

namespace sitestats {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Quality flags of one reading. They inform; only the engine's W mark (unless
// included) and a Ks that is not finite and positive leave a reading out.
enum Flag : unsigned {
    BadResult = 1u << 0,   // Ks not finite or not positive, or Psi_m not finite
    TFinNotLater = 1u << 1, // t fin not greater than t 1/2
    DThetaRange = 1u << 2,  // dtheta outside (0, 0.6]
    KsRange = 1u << 3,      // Ks outside 6.9e-7 ... 4.0e-3 m/s (falling-head method range)
    Outlier = 1u << 4,      // ln Ks beyond Tukey's fences (1.5 IQR) of the readings used
};
constexpr unsigned kAllFlags[] = {BadResult, TFinNotLater, DThetaRange, KsRange, Outlier};

// Short name for files ("bad-result", "tfin<=thalf", "dtheta", "ks-range",
// "outlier") and a sentence for people.
QString flagName(Flag f);
QString flagText(Flag f);
// The short names of the flags set, joined by ";" (empty when none).
QString flagNames(unsigned flags);

// One report row as printed. A field that does not read as a number (a field
// of "*", "NaN") is NaN; "Infinity" reads as such.
struct Reading {
    int point = 0;
    double dtheta = 0, tHalf = 0, tFin = 0;
    double ks = 0;   // m/s
    double psiM = 0; // m
    bool w = false;  // the engine's W mark
    unsigned flags = 0;
    bool used = false; // enters the statistics
};

// The filled rows of a parsed report, in order, flags not yet set.
QList<Reading> readingsOf(const report::ParsedReport& parsed);

// A report read from a file. False when the file cannot be read or is not
// a complete engine report (no "Processed file:" line, the table cut short or
// a row that is not a reading); *error then says why, without the file name.
bool loadReport(const QString& path, QList<Reading>* readings, QString* error = nullptr);

enum class Rule { GeometricMean, Median, TrimmedMedian, Mean, Minimum };
QList<Rule> allRules();
QString ruleKey(Rule r);  // "gm", "median", "trimmed-median", "mean", "min"
QString ruleText(Rule r); // "geometric mean", ...
std::optional<Rule> parseRule(const QString& key);

struct Options {
    Rule rule = Rule::GeometricMean;
    double safetyFactor = 1.0; // the design value is the rule's figure divided by it
    units::Ks ksUnit = units::Ks::MetrePerSecond;
    units::Psi psiUnit = units::Psi::Metre;
    bool includeFlagged = false; // W-marked readings enter the statistics too
    double precision = 0.20;     // X of the tests needed: the GM within +-X at 95 %
};

// Ks of the readings used, m/s. gsd and cv are ratios.
struct KsStats {
    double gm = kNaN, gsd = kNaN, ciLow = kNaN, ciHigh = kNaN; // CI: 95 % of the GM
    double median = kNaN, mean = kNaN, sd = kNaN, cv = kNaN;
    double min = kNaN, max = kNaN;
};

// Psi_m of the readings used whose Psi_m is finite, m.
struct PsiStats {
    double median = kNaN, mean = kNaN, min = kNaN, max = kNaN;
};

struct Analysis {
    QList<Reading> readings; // with flags and `used` set
    int used = 0;
    int leftOutW = 0;      // W-marked, not included
    int leftOutInvalid = 0; // Ks not finite and positive (W mark or not)
    KsStats ks;
    PsiStats psi;
    double trimmedMedian = kNaN; // median without the highest and lowest, m/s
    double ruleValue = kNaN;     // the rule's figure, m/s
    double designValue = kNaN;   // ruleValue / safety factor, m/s
    double testsNeeded = kNaN;   // readings for the GM within +-X at 95 %
    int count() const { return int(readings.size()); }
    int leftOut() const { return leftOutW + leftOutInvalid; }
};

// Flags, selection and every figure. A safety factor that is not finite and
// positive leaves the design value undefined.
Analysis analyse(const QList<Reading>& readings, const Options& options = {});

// One line of the statistics table, in the options' units: the key is the
// CSV column name ("readings", "ks_gm", ..., "design_value", "tests_needed"),
// the label the text shown beside the value, the unit empty for counts and
// ratios. Counts, Ks, Psi_m, design value, tests needed, in that order.
struct Figure {
    QString key;
    QString label;
    double value = kNaN;
    QString unit;
    figuretext::Kind kind = figuretext::Kind::Value; // how people see it written (figuretext::shown)
};
QList<Figure> figures(const Analysis& a, const Options& options);

// A figure for a CSV file: "." as separator, 15 significant digits with
// trailing zeros dropped; empty when the figure is undefined.
QString csvNumber(double v);

// --- the building blocks, for the readings' values in any order ---

// Arithmetic mean; NaN for no values.
double mean(const QList<double>& v);
// Sample standard deviation (n - 1 in the denominator); NaN for fewer than two.
double sd(const QList<double>& v);
// Median: the middle value, or the mean of the two middle ones.
double median(QList<double> v);
// Sample quantile, linear between closest ranks: h = (n-1)p, the value at
// floor(h) plus (h - floor(h)) times the step to the next one (the quartiles
// of most spreadsheets).
double quantile(QList<double> v, double p);
// Two-sided 95 % Student's t for the degrees of freedom.
double t95(double degreesOfFreedom);
// The smallest n >= 2 with n >= (t95(n-1) * s / ln(1 + x))^2, found by
// iterating on t from the normal approximation; NaN when s or x is not usable.
double testsNeeded(double sdLn, double x);

} // namespace sitestats

} // namespace veldesk
