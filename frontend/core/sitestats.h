#pragma once
// A site's figures from one engine report: the readings as printed, their
// quality flags, the statistics of Ks (log-normal) and Psi_m, the design value
// by the rule a reader's document prescribes, and how many readings would pin
// the geometric mean down to a given precision.
//
// Everything is computed in double precision from the report's printed
// values, in SI (Ks in m/s, Psi_m in m); units.h converts for display. A
// figure that is undefined for the readings at hand (the SD of one reading,
// the mean without extremes of two) is NaN.
#include "report.h"
#include "figuretext.h"
#include "units.h"

#include <QList>
#include <QLocale>
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
    BadResult = 1u << 0,    // Ks not finite or not positive, Psi_m not finite, or the row not a reading
    TFinNotLater = 1u << 1, // t fin not greater than t 1/2 (both times readable)
    DThetaRange = 1u << 2,  // dtheta outside (0, 0.6], or unreadable
    KsRange = 1u << 3,      // Ks outside 6.9e-7 ... 4.0e-3 m/s (falling-head method range)
    Outlier = 1u << 4,      // ln Ks beyond the 2.2 IQR fences of the readings used, from 8 of them
    PsiNegative = 1u << 5,  // Psi_m below 0: no physical meaning; kept out of the Psi_m figures
};
constexpr unsigned kAllFlags[] = {BadResult, TFinNotLater, DThetaRange, KsRange, Outlier, PsiNegative};

// Outlier fences: ln Ks beyond kOutlierFence interquartile ranges outside the
// quartiles, judged only from kOutlierMinReadings readings used on.
inline constexpr double kOutlierFence = 2.2;
inline constexpr int kOutlierMinReadings = 8;

// Below this many readings used, the 95 % interval rests on too few to be
// taken at face value, and says so.
inline constexpr int kFewReadings = 5;

// The precision X of the tests needed, as a fraction: 0.1 % to 1000 %.
inline constexpr double kPrecisionMin = 0.001;
inline constexpr double kPrecisionMax = 10.0;

// Short name for files ("bad-result", "tfin<=thalf", "dtheta", "ks-range",
// "outlier", "psi<0") and a sentence for people.
QString flagName(Flag f);
QString flagText(Flag f);
// The short names of the flags set, joined by ";" (empty when none).
QString flagNames(unsigned flags);

// One report row as printed. A field that does not read as a number (a field
// of "*", "NaN") is NaN; "Infinity" reads as such.
struct Reading {
    int point = 0;
    // The table row is not a reading (its number does not read as one): it
    // counts as one reading with a bad result and nothing else is read of it.
    bool unreadable = false;
    double dtheta = 0, tHalf = 0, tFin = 0;
    double ks = 0;   // m/s
    double psiM = 0; // m
    bool w = false;  // the engine's W mark
    unsigned flags = 0;
    bool used = false; // enters the statistics
};

// Every row of a parsed report's table, in order, flags not yet set. A row
// that is not a reading is one reading marked `unreadable`, numbered by its
// place in the table.
QList<Reading> readingsOf(const report::ParsedReport& parsed);

// A report's readings. False when the lines are not a complete engine report
// (no "Processed file:" line, or the table cut short); *error then says why.
// A row that cannot be read is one bad reading, never a fault of the report.
bool readingsOfReport(const QStringList& lines, QList<Reading>* readings, QString* error = nullptr);

// The same for a report file; *error says why without the file name.
bool loadReport(const QString& path, QList<Reading>* readings, QString* error = nullptr);

enum class Rule { GeometricMean, Median, TrimmedMean, Mean, Minimum };
QList<Rule> allRules();
QString ruleKey(Rule r);  // "gm", "median", "trimmed-mean", "mean", "min"
QString ruleText(Rule r); // "geometric mean", ...
std::optional<Rule> parseRule(const QString& key);
// Why a rule that is no longer offered was dropped, for a key that names one
// ("trimmed-median", which always equals the median); empty otherwise.
QString retiredRule(const QString& key);

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
    int psiLeftOut = 0;          // used, but Psi_m negative or not finite: not in the Psi_m figures
    double trimmedMean = kNaN;   // mean without the highest and lowest, m/s
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
// The note says on how few readings a figure rests, where that matters.
struct Figure {
    QString key;
    QString label;
    double value = kNaN;
    QString unit;
    QString note;
    figuretext::Kind kind = figuretext::Kind::Value; // how people see it written (figuretext::shown)
};
QList<Figure> figures(const Analysis& a, const Options& options);
// The label with its note in brackets, as people read it.
QString labelWithNote(const Figure& f);
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
// Sample quantile, median-unbiased (Hyndman and Fan's definition 8): the
// value at the 1-based position h = (n + 1/3) p + 1/3, linear between the
// closest ranks and held at the ends. Its quartiles are the "ideal fourths"
// (position n/4 + 5/12) for which Hoaglin and Iglewicz tuned the 2.2 fences.
double quantile(QList<double> v, double p);
// Two-sided 95 % Student's t for the degrees of freedom.
double t95(double degreesOfFreedom);
// Mean and sample standard deviation (n - 1), computed around the first value
// so that equal values give exactly their value and 0.
double mean(const QList<double>& v);
double sd(const QList<double>& v);
// The smallest n >= 2 with n >= (t95(n-1) * s / ln(1 + x))^2, found by
// iterating on t from the normal approximation; NaN when s is not usable or x
// lies outside kPrecisionMin ... kPrecisionMax.
double testsNeeded(double sdLn, double x);

} // namespace sitestats

} // namespace veldesk
