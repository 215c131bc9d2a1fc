#include "sitestats.h"

#include "failure.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace veldesk {

namespace sitestats {

namespace {

// Quality limits of a reading.
constexpr double kDThetaMax = 0.6;    // cm3/cm3: no soil holds more water than that
constexpr double kKsLow = 6.9e-7;     // m/s: the falling-head method's stated range
constexpr double kKsHigh = 4.0e-3;    // m/s

} // namespace

// The deviations from the first value are exact when the values are equal,
// so a site of identical readings has exactly their value as its mean; a sum
// of the values themselves would round on the way.
double mean(const QList<double>& v)
{
    if (v.isEmpty())
        return kNaN;
    const double pivot = v.first();
    double sum = 0;
    for (double x : v)
        sum += x - pivot;
    return pivot + sum / double(v.size());
}

// Sample standard deviation (n - 1 in the denominator), in two passes around
// the mean: 0 exactly for equal values.
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
    case PsiNegative: return QStringLiteral("psi<0");
    }
    return {};
}

QString flagText(Flag f)
{
    switch (f) {
    case BadResult: return QStringLiteral("Ks not finite and positive, Psi_m not finite, or the row not a reading");
    case TFinNotLater: return QStringLiteral("t fin not greater than t 1/2");
    case DThetaRange: return QStringLiteral("\u0394\u03b8 outside (0, 0.6]");
    case KsRange: return QStringLiteral("Ks outside 6.9e-7 \u2026 4.0e-3 m/s");
    case Outlier: return QStringLiteral("ln Ks beyond 2.2 \u00d7 IQR outside the quartiles (judged from 8 readings used)");
    case PsiNegative: return QStringLiteral("Psi_m below 0, left out of the Psi_m figures");
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
    out.reserve(parsed.rows.size());
    for (const report::ReportRow& row : parsed.rows) {
        Reading r;
        if (!row.isReading()) {
            r.point = int(out.size()) + 1;
            r.unreadable = true;
            r.dtheta = r.tHalf = r.tFin = r.ks = r.psiM = kNaN;
        } else {
            r.point = *row.point;
            r.dtheta = row.value(report::DTheta);
            r.tHalf = row.value(report::THalf);
            r.tFin = row.value(report::TFin);
            r.ks = row.value(report::Ks);
            r.psiM = row.value(report::PsiM);
            r.w = row.wMarked();
        }
        out << r;
    }
    return out;
}

bool readingsOfReport(const QStringList& lines, QList<Reading>* readings, QString* error)
{
    const auto fail = [error](const QString& why) { return reportFailure(error, why); };
    const report::ParsedReport parsed = report::parseReport(lines);
    if (parsed.header.isEmpty() || !parsed.header.first().startsWith(QLatin1String("Processed file:")))
        return fail(QStringLiteral("is not a report of the engine (no \"Processed file:\" line)"));
    if (!parsed.complete)
        return fail(QStringLiteral("is not a complete report of the engine (its table is cut short)"));
    *readings = readingsOf(parsed);
    return true;
}

bool loadReport(const QString& path, QList<Reading>* readings, QString* error)
{
    QStringList lines;
    if (!report::readLines(path, &lines))
        return reportFailure(error, QStringLiteral("cannot be read"));
    return readingsOfReport(lines, readings, error);
}

QList<Rule> allRules()
{
    return {Rule::GeometricMean, Rule::Median, Rule::TrimmedMean, Rule::Mean, Rule::Minimum};
}

QString ruleKey(Rule r)
{
    switch (r) {
    case Rule::GeometricMean: return QStringLiteral("gm");
    case Rule::Median: return QStringLiteral("median");
    case Rule::TrimmedMean: return QStringLiteral("trimmed-mean");
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
    case Rule::TrimmedMean: return QStringLiteral("mean without the highest and lowest");
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

QString retiredRule(const QString& key)
{
    if (key.trimmed() == QLatin1String("trimmed-median"))
        return QStringLiteral("the median without the highest and lowest always equals the median (dropping one "
                              "value from each end of a sorted sample never moves its middle); use median for the "
                              "same figure, or trimmed-mean for the mean without the highest and lowest");
    return {};
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
    const double n = double(v.size());
    const double h = (n + 1.0 / 3.0) * p + 1.0 / 3.0 - 1.0; // 0-based
    if (h <= 0)
        return v.first();
    const auto lo = qsizetype(std::floor(h));
    if (lo + 1 >= v.size())
        return v.last();
    return v[lo] + (h - double(lo)) * (v[lo + 1] - v[lo]);
}

double t95(double degreesOfFreedom)
{
    if (!(degreesOfFreedom > 0))
        return kNaN;
    const auto compute = [degreesOfFreedom] {
        const boost::math::students_t dist(degreesOfFreedom);
        return boost::math::quantile(dist, 0.975);
    };
    // The quantile is costly, and the same few whole degrees of freedom come
    // up again and again (the readings needed iterate on t, and velstat
    // analyses thousands of sites); each is computed once per thread.
    constexpr double kRemembered = 4096;
    if (degreesOfFreedom > kRemembered || degreesOfFreedom != std::floor(degreesOfFreedom))
        return compute();
    thread_local std::vector<double> known;
    const auto i = std::size_t(degreesOfFreedom);
    if (known.size() <= i)
        known.resize(i + 1, kNaN);
    if (std::isnan(known[i]))
        known[i] = compute();
    return known[i];
}

double testsNeeded(double sdLn, double x)
{
    if (!std::isfinite(sdLn) || sdLn < 0 || !(x >= kPrecisionMin && x <= kPrecisionMax))
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

    QList<double> ks, psi;
    for (Reading& r : a.readings) {
        r.flags = 0;
        r.used = false;
        if (r.unreadable) {
            r.flags = BadResult;
            ++a.leftOutInvalid;
            continue;
        }
        const bool ksUsable = std::isfinite(r.ks) && r.ks > 0;
        if (!ksUsable || !std::isfinite(r.psiM))
            r.flags |= BadResult;
        // A time too large for its columns prints as "*" and reads as NaN:
        // its order against the other time is unknown, so it gives no flag.
        if (!std::isnan(r.tHalf) && !std::isnan(r.tFin) && !(r.tFin > r.tHalf))
            r.flags |= TFinNotLater;
        // A Δθ that does not read is far outside the range (it overflowed
        // its 8 columns) or was no number to begin with.
        if (!(r.dtheta > 0 && r.dtheta <= kDThetaMax))
            r.flags |= DThetaRange;
        if (ksUsable && (r.ks < kKsLow || r.ks > kKsHigh))
            r.flags |= KsRange;
        if (r.psiM < 0)
            r.flags |= PsiNegative;

        r.used = ksUsable && (!r.w || options.includeFlagged);
        if (!ksUsable)
            ++a.leftOutInvalid;
        else if (!r.used)
            ++a.leftOutW;
        if (r.used) {
            ks << r.ks;
            if (std::isfinite(r.psiM) && r.psiM >= 0)
                psi << r.psiM;
            else
                ++a.psiLeftOut;
        }
    }
    a.used = int(ks.size());
    if (ks.isEmpty())
        return a;

    // ln Ks relative to the first reading used: equal readings give exactly
    // 0, so their GM, interval and GSD come out as exactly their value and 1.
    const double pivot = ks.first(), lnPivot = std::log(pivot);
    QList<double> lnRel;
    lnRel.reserve(ks.size());
    for (double k : ks)
        lnRel << std::log(k) - lnPivot;

    // Outliers: ln Ks beyond 2.2 interquartile ranges outside the quartiles
    // (Hoaglin and Iglewicz's multiplier, which leaves about 5 % of normal
    // samples with a false flag where 1.5 leaves a quarter or more of small
    // ones). Fewer than 8 readings cannot tell an outlier from the spread, and
    // quartiles that coincide give no spread to measure against. A reading
    // left out is still measured against the fences when its Ks is usable.
    if (a.used >= kOutlierMinReadings) {
        const double q1 = quantile(lnRel, 0.25), q3 = quantile(lnRel, 0.75);
        if (q3 > q1) {
            const double lo = q1 - kOutlierFence * (q3 - q1), hi = q3 + kOutlierFence * (q3 - q1);
            for (Reading& r : a.readings) {
                if (r.unreadable || !(std::isfinite(r.ks) && r.ks > 0))
                    continue;
                const double l = std::log(r.ks) - lnPivot;
                if (l < lo || l > hi)
                    r.flags |= Outlier;
            }
        }
    }

    // Ks from ln Ks relative to the pivot. Readings many decades apart can
    // put exp() of the relative value alone outside the range of a double
    // (or among its less precise subnormal numbers) while the figure lies
    // within it: then the figure is taken from its whole logarithm.
    const auto fromRelativeLn = [pivot, lnPivot](double relative) {
        const double e = std::exp(relative);
        return e >= std::numeric_limits<double>::min() && std::isfinite(e) ? pivot * e
                                                                             : std::exp(lnPivot + relative);
    };
    KsStats& s = a.ks;
    const double mLn = mean(lnRel), sLn = sd(lnRel);
    s.gm = fromRelativeLn(mLn);
    s.gsd = std::exp(sLn);
    const double half = t95(double(a.used - 1)) * sLn / std::sqrt(double(a.used));
    s.ciLow = fromRelativeLn(mLn - half);
    s.ciHigh = fromRelativeLn(mLn + half);
    s.median = median(ks);
    s.mean = mean(ks);
    s.sd = sd(ks);
    s.cv = s.sd / s.mean;
    s.min = *std::min_element(ks.begin(), ks.end());
    s.max = *std::max_element(ks.begin(), ks.end());
    if (ks.size() >= 3) {
        QList<double> inner = ks;
        std::sort(inner.begin(), inner.end());
        a.trimmedMean = mean(inner.mid(1, inner.size() - 2));
    }
    a.testsNeeded = testsNeeded(sLn, options.precision);

    if (!psi.isEmpty()) {
        a.psi.median = median(psi);
        a.psi.mean = mean(psi);
        a.psi.min = *std::min_element(psi.begin(), psi.end());
        a.psi.max = *std::max_element(psi.begin(), psi.end());
    }

    switch (options.rule) {
    case Rule::GeometricMean: a.ruleValue = a.ks.gm; break;
    case Rule::Median: a.ruleValue = a.ks.median; break;
    case Rule::TrimmedMean: a.ruleValue = a.trimmedMean; break;
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
    // With few readings Student's t is large (12.7 for two) and the interval
    // spans orders of magnitude; it is shown, with what it rests on.
    const QString few = a.used >= 2 && a.used < kFewReadings
        ? QStringLiteral("rests on %1 readings").arg(a.used)
        : QString();
    const QString estimate = std::isfinite(a.testsNeeded)
        ? QStringLiteral("an estimate from %1 readings").arg(a.used)
        : QString();
    return {
        {"readings", "Readings in the report", double(a.count()), {}, {}, figuretext::Kind::Count},
        {"used", "Readings used", double(a.used), {}, {}, figuretext::Kind::Count},
        {"excluded", "Readings left out", double(a.leftOut()), {}, {}, figuretext::Kind::Count},
        {"excluded_w", "  of them W-marked", double(a.leftOutW), {}, {}, figuretext::Kind::Count},
        {"excluded_invalid", "  of them Ks not finite and positive", double(a.leftOutInvalid), {}, {},
         figuretext::Kind::Count},
        {"ks_gm", "Ks geometric mean", k(a.ks.gm), ku, {}, figuretext::Kind::PositiveValue},
        {"ks_gsd", "Ks geometric standard deviation", a.ks.gsd, {}, {}, figuretext::Kind::Ratio},
        {"ks_ci95_low", "Ks GM 95 % confidence, low", k(a.ks.ciLow), ku, few, figuretext::Kind::PositiveValue},
        {"ks_ci95_high", "Ks GM 95 % confidence, high", k(a.ks.ciHigh), ku, few, figuretext::Kind::PositiveValue},
        {"ks_median", "Ks median", k(a.ks.median), ku, {}, figuretext::Kind::PositiveValue},
        {"ks_mean", "Ks arithmetic mean", k(a.ks.mean), ku, {}, figuretext::Kind::PositiveValue},
        {"ks_sd", "Ks standard deviation", k(a.ks.sd), ku, {}},
        {"ks_cv", "Ks coefficient of variation", a.ks.cv, {}, {}, figuretext::Kind::Ratio},
        {"ks_min", "Ks minimum", k(a.ks.min), ku, {}, figuretext::Kind::PositiveValue},
        {"ks_max", "Ks maximum", k(a.ks.max), ku, {}, figuretext::Kind::PositiveValue},
        {"psi_excluded", "Psi_m left out (negative or not finite)", double(a.psiLeftOut), {}, {},
         figuretext::Kind::Count},
        {"psi_median", "Psi_m median", p(a.psi.median), pu, {}},
        {"psi_mean", "Psi_m mean", p(a.psi.mean), pu, {}},
        {"psi_min", "Psi_m minimum", p(a.psi.min), pu, {}},
        {"psi_max", "Psi_m maximum", p(a.psi.max), pu, {}},
        {"design_value", QStringLiteral("Design value: %1 / %2").arg(ruleText(o.rule), sf), k(a.designValue), ku, {},
         figuretext::Kind::PositiveValue},
        {"tests_needed", QStringLiteral("Readings for the GM within \u00b1%1 %").arg(csvNumber(o.precision * 100)),
         a.testsNeeded, {}, estimate, figuretext::Kind::Count},
    };
}

QString labelWithNote(const Figure& f)
{
    return f.note.isEmpty() ? f.label : f.label + QStringLiteral(" (") + f.note + QChar(')');
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
