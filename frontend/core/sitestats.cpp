#include "sitestats.h"

#include "failure.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>

namespace veldesk {

namespace sitestats {

namespace {

// Quality limits of a reading.
constexpr double kDThetaMax = 0.6;    // cm3/cm3: no soil holds more water than that
constexpr double kKsLow = 6.9e-7;     // m/s: the falling-head method's stated range
constexpr double kKsHigh = 4.0e-3;    // m/s
constexpr double kTukey = 1.5;        // fence distance in interquartile ranges

// A printed field as a number: blanks around it ignored; the writing layer
// spells the non-finite values "NaN" and "Infinity", and fills a field that
// overflows with "*".
double field(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("Infinity"), Qt::CaseInsensitive) == 0
        || t.compare(QLatin1String("+Infinity"), Qt::CaseInsensitive) == 0)
        return std::numeric_limits<double>::infinity();
    if (t.compare(QLatin1String("-Infinity"), Qt::CaseInsensitive) == 0)
        return -std::numeric_limits<double>::infinity();
    bool ok = false;
    const double v = t.toDouble(&ok); // "." whatever the locale
    return ok ? v : kNaN;
}

} // namespace

double mean(const QList<double>& v)
{
    if (v.isEmpty())
        return kNaN;
    double sum = 0;
    for (double x : v)
        sum += x;
    return sum / double(v.size());
}

double sd(const QList<double>& v)
{
    if (v.size() < 2)
        return kNaN;
    const double m = mean(v);
    double sum = 0;
    for (double x : v)
        sum += (x - m) * (x - m);
    return std::sqrt(sum / double(v.size() - 1));
}

QString flagName(Flag f)
{
    switch (f) {
    case BadResult: return QStringLiteral("bad-result");
    case TFinNotLater: return QStringLiteral("tfin<=thalf");
    case DThetaRange: return QStringLiteral("dtheta");
    case KsRange: return QStringLiteral("ks-range");
    case Outlier: return QStringLiteral("outlier");
    }
    return {};
}

QString flagText(Flag f)
{
    switch (f) {
    case BadResult: return QStringLiteral("Ks not finite and positive, or Psi_m not finite");
    case TFinNotLater: return QStringLiteral("t fin not greater than t 1/2");
    case DThetaRange: return QStringLiteral("\u0394\u03b8 outside (0, 0.6]");
    case KsRange: return QStringLiteral("Ks outside 6.9e-7 \u2026 4.0e-3 m/s");
    case Outlier: return QStringLiteral("ln Ks outside Tukey's fences (1.5 \u00d7 IQR)");
    }
    return {};
}

QString flagNames(unsigned flags)
{
    QStringList names;
    for (unsigned f : kAllFlags)
        if (flags & f)
            names << flagName(Flag(f));
    return names.join(QChar(';'));
}

QList<Reading> readingsOf(const report::ParsedReport& parsed)
{
    QList<Reading> out;
    for (const report::ReportRow& row : parsed.rows) {
        if (!row.filled)
            continue;
        Reading r;
        r.point = row.point;
        r.dtheta = field(row.cells[0]);
        r.tHalf = field(row.cells[1]);
        r.tFin = field(row.cells[2]);
        r.ks = field(row.cells[7]);
        r.psiM = field(row.cells[8]);
        r.w = row.cells[9] == QLatin1String("*");
        out << r;
    }
    return out;
}

bool loadReport(const QString& path, QList<Reading>* readings, QString* error)
{
    const auto fail = [error](const QString& why) { return reportFailure(error, why); };
    QStringList lines;
    if (!report::readLines(path, &lines))
        return fail(QStringLiteral("cannot be read"));
    // The engine processes at most 1000 readings a run.
    const report::ParsedReport parsed = report::parseReport(lines, 1000);
    if (parsed.header.isEmpty() || !parsed.header.first().startsWith(QLatin1String("Processed file:")))
        return fail(QStringLiteral("is not a report of the engine (no \"Processed file:\" line)"));
    if (parsed.error || !parsed.tableBegun)
        return fail(QStringLiteral("is not a complete report of the engine (its table is cut short or holds a row "
                                   "that is not a reading)"));
    *readings = readingsOf(parsed);
    return true;
}

QList<Rule> allRules()
{
    return {Rule::GeometricMean, Rule::Median, Rule::TrimmedMedian, Rule::Mean, Rule::Minimum};
}

QString ruleKey(Rule r)
{
    switch (r) {
    case Rule::GeometricMean: return QStringLiteral("gm");
    case Rule::Median: return QStringLiteral("median");
    case Rule::TrimmedMedian: return QStringLiteral("trimmed-median");
    case Rule::Mean: return QStringLiteral("mean");
    case Rule::Minimum: return QStringLiteral("min");
    }
    return {};
}

QString ruleText(Rule r)
{
    switch (r) {
    case Rule::GeometricMean: return QStringLiteral("geometric mean");
    case Rule::Median: return QStringLiteral("median");
    case Rule::TrimmedMedian: return QStringLiteral("median without the highest and lowest");
    case Rule::Mean: return QStringLiteral("arithmetic mean");
    case Rule::Minimum: return QStringLiteral("minimum");
    }
    return {};
}

std::optional<Rule> parseRule(const QString& key)
{
    for (Rule r : allRules())
        if (ruleKey(r) == key.trimmed())
            return r;
    return std::nullopt;
}

double median(QList<double> v)
{
    if (v.isEmpty())
        return kNaN;
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

double quantile(QList<double> v, double p)
{
    if (v.isEmpty())
        return kNaN;
    std::sort(v.begin(), v.end());
    const double h = double(v.size() - 1) * p;
    const auto lo = qsizetype(std::floor(h));
    if (lo + 1 >= v.size())
        return v.last();
    return v[lo] + (h - double(lo)) * (v[lo + 1] - v[lo]);
}

double t95(double degreesOfFreedom)
{
    if (!(degreesOfFreedom > 0))
        return kNaN;
    const boost::math::students_t dist(degreesOfFreedom);
    return boost::math::quantile(dist, 0.975);
}

double testsNeeded(double sdLn, double x)
{
    if (!std::isfinite(sdLn) || sdLn < 0 || !std::isfinite(x) || !(x > 0))
        return kNaN;
    const double half = std::log1p(x); // the half-width of the interval on ln Ks
    // n >= g(n) is what the readings must satisfy; g falls as n grows (t does),
    // so the n that satisfy it are all those from the smallest one up.
    const auto g = [&](double n) {
        const double r = t95(n - 1) * sdLn / half;
        return r * r;
    };
    const auto enough = [&](double n) { return n >= g(n); };
    const double z = 1.959963984540054; // the normal quantile, t's limit
    const double start = std::ceil(z * z * sdLn * sdLn / (half * half));
    if (start > 1e9)
        return start; // t and the normal quantile agree there far beyond any count
    double n = std::max(2.0, start);
    for (int i = 0; i < 100; ++i) { // iterate on t: n, then t with n - 1 degrees of freedom
        const double next = std::max(2.0, std::ceil(g(n)));
        if (next == n)
            break;
        n = next;
    }
    // The iteration can stop a step off the smallest such n; settle on it.
    while (n > 2 && enough(n - 1))
        --n;
    while (!enough(n))
        ++n;
    return n;
}

Analysis analyse(const QList<Reading>& readings, const Options& options)
{
    Analysis a;
    a.readings = readings;

    QList<double> ks, lnKs, psi;
    for (Reading& r : a.readings) {
        r.flags = 0;
        const bool ksUsable = std::isfinite(r.ks) && r.ks > 0;
        if (!ksUsable || !std::isfinite(r.psiM))
            r.flags |= BadResult;
        if (!(r.tFin > r.tHalf))
            r.flags |= TFinNotLater;
        if (!(r.dtheta > 0 && r.dtheta <= kDThetaMax))
            r.flags |= DThetaRange;
        if (ksUsable && (r.ks < kKsLow || r.ks > kKsHigh))
            r.flags |= KsRange;

        r.used = ksUsable && (!r.w || options.includeFlagged);
        if (!ksUsable)
            ++a.leftOutInvalid;
        else if (!r.used)
            ++a.leftOutW;
        if (r.used) {
            ks << r.ks;
            lnKs << std::log(r.ks);
            if (std::isfinite(r.psiM))
                psi << r.psiM;
        }
    }
    a.used = int(ks.size());

    // Outliers by Tukey's fences on ln Ks of the readings used, with the
    // quartiles of `quantile`. A reading left out is still measured against
    // the fences when its Ks is usable.
    if (!lnKs.isEmpty()) {
        const double q1 = quantile(lnKs, 0.25), q3 = quantile(lnKs, 0.75);
        const double lo = q1 - kTukey * (q3 - q1), hi = q3 + kTukey * (q3 - q1);
        for (Reading& r : a.readings)
            if (std::isfinite(r.ks) && r.ks > 0 && (std::log(r.ks) < lo || std::log(r.ks) > hi))
                r.flags |= Outlier;
    }

    if (!ks.isEmpty()) {
        KsStats& s = a.ks;
        const double mLn = mean(lnKs), sLn = sd(lnKs);
        s.gm = std::exp(mLn);
        s.gsd = std::exp(sLn);
        const double half = t95(double(a.used - 1)) * sLn / std::sqrt(double(a.used));
        s.ciLow = std::exp(mLn - half);
        s.ciHigh = std::exp(mLn + half);
        s.median = median(ks);
        s.mean = mean(ks);
        s.sd = sd(ks);
        s.cv = s.sd / s.mean;
        s.min = *std::min_element(ks.begin(), ks.end());
        s.max = *std::max_element(ks.begin(), ks.end());
        if (ks.size() >= 3) {
            QList<double> inner = ks;
            std::sort(inner.begin(), inner.end());
            a.trimmedMedian = median(inner.mid(1, inner.size() - 2));
        }
        a.testsNeeded = testsNeeded(sLn, options.precision);
    }
    if (!psi.isEmpty()) {
        a.psi.median = median(psi);
        a.psi.mean = mean(psi);
        a.psi.min = *std::min_element(psi.begin(), psi.end());
        a.psi.max = *std::max_element(psi.begin(), psi.end());
    }

    switch (options.rule) {
    case Rule::GeometricMean: a.ruleValue = a.ks.gm; break;
    case Rule::Median: a.ruleValue = a.ks.median; break;
    case Rule::TrimmedMedian: a.ruleValue = a.trimmedMedian; break;
    case Rule::Mean: a.ruleValue = a.ks.mean; break;
    case Rule::Minimum: a.ruleValue = a.ks.min; break;
    }
    if (std::isfinite(options.safetyFactor) && options.safetyFactor > 0)
        a.designValue = a.ruleValue / options.safetyFactor;
    return a;
}

QList<Figure> figures(const Analysis& a, const Options& o)
{
    const QString ku = units::name(o.ksUnit), pu = units::name(o.psiUnit);
    const auto k = [&](double v) { return units::fromSI(v, o.ksUnit); };
    const auto p = [&](double v) { return units::fromSI(v, o.psiUnit); };
    const QString sf = csvNumber(o.safetyFactor);
    return {
        {"readings", "Readings in the report", double(a.count()), {}, figuretext::Kind::Count},
        {"used", "Readings used", double(a.used), {}, figuretext::Kind::Count},
        {"excluded", "Readings left out", double(a.leftOut()), {}, figuretext::Kind::Count},
        {"excluded_w", "  of them W-marked", double(a.leftOutW), {}, figuretext::Kind::Count},
        {"excluded_invalid", "  of them Ks not finite and positive", double(a.leftOutInvalid), {}, figuretext::Kind::Count},
        {"ks_gm", "Ks geometric mean", k(a.ks.gm), ku},
        {"ks_gsd", "Ks geometric standard deviation", a.ks.gsd, {}, figuretext::Kind::Ratio},
        {"ks_ci95_low", "Ks GM 95 % confidence, low", k(a.ks.ciLow), ku},
        {"ks_ci95_high", "Ks GM 95 % confidence, high", k(a.ks.ciHigh), ku},
        {"ks_median", "Ks median", k(a.ks.median), ku},
        {"ks_mean", "Ks arithmetic mean", k(a.ks.mean), ku},
        {"ks_sd", "Ks standard deviation", k(a.ks.sd), ku},
        {"ks_cv", "Ks coefficient of variation", a.ks.cv, {}, figuretext::Kind::Ratio},
        {"ks_min", "Ks minimum", k(a.ks.min), ku},
        {"ks_max", "Ks maximum", k(a.ks.max), ku},
        {"psi_median", "Psi_m median", p(a.psi.median), pu},
        {"psi_mean", "Psi_m mean", p(a.psi.mean), pu},
        {"psi_min", "Psi_m minimum", p(a.psi.min), pu},
        {"psi_max", "Psi_m maximum", p(a.psi.max), pu},
        {"design_value", QStringLiteral("Design value: %1 / %2").arg(ruleText(o.rule), sf), k(a.designValue), ku},
        {"tests_needed", QStringLiteral("Readings for the GM within \u00b1%1 %").arg(csvNumber(o.precision * 100)),
         a.testsNeeded, {}, figuretext::Kind::Count},
    };
}

QString csvNumber(double v)
{
    if (!std::isfinite(v))
        return {};
    // 15 digits: all that a double holds for certain, so a unit conversion's
    // last-bit noise (7.349e-05 m/s * 1e6 = 73.49000000000001) does not show.
    return QString::number(v, 'g', 15);
}

} // namespace sitestats

} // namespace veldesk
