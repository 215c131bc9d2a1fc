#include "sitecsv.h"
#include "sitestats.h"
#include "test_support.h"

#include <random>

using namespace veldesk;

using namespace sitestats;

namespace {

// Readings with the given Ks (m/s); the other fields are those of a sound
// reading, so that no flag but the ones under test is set.
QList<Reading> withKs(std::initializer_list<double> ks, std::initializer_list<bool> w = {})
{
    QList<Reading> out;
    int i = 0;
    for (double k : ks) {
        Reading r;
        r.point = ++i;
        r.dtheta = 0.2;
        r.tHalf = 300;
        r.tFin = 1200;
        r.ks = k;
        r.psiM = 0.01 * i;
        r.w = i <= int(w.size()) && std::data(w)[i - 1];
        out << r;
    }
    return out;
}

void expectNear(double actual, double expected, const char* what)
{
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(actual)) << what << " = " << actual;
    else
        EXPECT_NEAR(actual, expected, std::abs(expected) * 1e-9) << what;
}

} // namespace

// Values worked out by hand. Ks 1, 2, 4 (e-5) have ln Ks 0, 1, 2 times ln 2
// apart: GM 2e-5, GSD exactly 2; the CI is 2e-5 * exp(-+t(2) ln2 / sqrt 3).
TEST(SiteStats, HandWorkedSets)
{
    struct Case {
        const char* name;
        QList<Reading> readings;
        double gm, gsd, ciLow, ciHigh, median, trimmed, mean, sd, min, max;
    };
    const double nan = kNaN;
    const Case cases[] = {
        {"odd", withKs({4e-5, 1e-5, 2e-5}), 2e-5, 2.0, 3.574621235894745e-06, 1.1189996746602947e-4, 2e-5, 2e-5,
         7e-5 / 3, 1.5275252316519468e-5, 1e-5, 4e-5},
        // Even count: the median is the mean of the middle two; GM = 2 sqrt 2 e-5.
        {"even", withKs({8e-5, 1e-5, 4e-5, 2e-5}), 2.0 * std::sqrt(2.0) * 1e-5, std::exp(std::log(2.0) * std::sqrt(5.0 / 3)),
         6.810061552888052e-06, 0.00011747324070231515, 3e-5, 3e-5, 3.75e-5, std::sqrt((7.5625 + 3.0625 + 0.0625 + 18.0625) / 3) * 1e-5, 1e-5, 8e-5},
        // One reading: no spread, no interval, nothing to trim (the mean
        // without extremes of {1, 2, 4} and of {1, 2, 4, 8} is 2 and 3).
        {"one", withKs({3e-5}), 3e-5, nan, nan, nan, 3e-5, nan, 3e-5, nan, 3e-5, 3e-5},
        // Ties: no spread at all, the interval closes on the GM.
        {"ties", withKs({5e-6, 5e-6, 5e-6, 5e-6}), 5e-6, 1.0, 5e-6, 5e-6, 5e-6, 5e-6, 5e-6, 0.0, 5e-6, 5e-6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Analysis a = analyse(c.readings);
        EXPECT_EQ(a.used, c.readings.size());
        expectNear(a.ks.gm, c.gm, "gm");
        expectNear(a.ks.gsd, c.gsd, "gsd");
        expectNear(a.ks.ciLow, c.ciLow, "ci low");
        expectNear(a.ks.ciHigh, c.ciHigh, "ci high");
        expectNear(a.ks.median, c.median, "median");
        expectNear(a.trimmedMean, c.trimmed, "trimmed mean");
        expectNear(a.ks.mean, c.mean, "mean");
        expectNear(a.ks.sd, c.sd, "sd");
        expectNear(a.ks.cv, c.sd / c.mean, "cv");
        expectNear(a.ks.min, c.min, "min");
        expectNear(a.ks.max, c.max, "max");
    }
}

TEST(SiteStats, WhatLeavesAReadingOut)
{
    const double inf = std::numeric_limits<double>::infinity();
    // W-marked, then not finite or not positive (one of them W-marked too).
    const auto readings = withKs({1e-5, 2e-5, 4e-5, kNaN, inf, 0.0, -1e-5}, {false, true, false, false, false, true});
    const Analysis a = analyse(readings);
    EXPECT_EQ(a.count(), 7);
    EXPECT_EQ(a.used, 2);
    EXPECT_EQ(a.leftOutW, 1);
    EXPECT_EQ(a.leftOutInvalid, 4);
    EXPECT_DOUBLE_EQ(a.ks.gm, 2e-5);
    for (int i = 3; i < 7; ++i)
        EXPECT_TRUE(a.readings[i].flags & BadResult) << i;

    Options o;
    o.includeFlagged = true;
    const Analysis b = analyse(readings, o);
    EXPECT_EQ(b.used, 3);
    EXPECT_EQ(b.leftOutW, 0);
    EXPECT_DOUBLE_EQ(b.ks.gm, 2e-5);

    // All readings W-marked: nothing to compute, and no failure.
    const Analysis none = analyse(withKs({1e-5, 2e-5}, {true, true}));
    EXPECT_EQ(none.used, 0);
    EXPECT_EQ(none.leftOutW, 2);
    for (double v : {none.ks.gm, none.ks.median, none.psi.mean, none.designValue, none.testsNeeded})
        EXPECT_TRUE(std::isnan(v));
}

TEST(SiteStats, QualityFlagsAtTheirLimits)
{
    struct Case {
        double dtheta, tHalf, tFin, ks, psi;
        unsigned flags;
    };
    const Case cases[] = {
        {0.6, 300, 301, 6.9e-7, 0.1, 0},               // every limit itself is sound
        {0.6001, 300, 300, 4.0e-3, 0.1, DThetaRange | TFinNotLater},
        {0.0, 300, 200, 4.1e-3, 0.1, DThetaRange | TFinNotLater | KsRange},
        {-0.1, 300, 1200, 6.8e-7, kNaN, DThetaRange | KsRange | BadResult},
        {0.2, 300, 1200, 1e-5, -0.25, PsiNegative},   // no physical meaning
        {0.2, 300, 1200, 1e-5, -0.0, 0},              // "-0.0000" is no negative value
        // Times too large for their columns read as NaN and are compared with nothing.
        {0.2, kNaN, 1200, 1e-5, 0.1, 0},
        {0.2, 9999999, kNaN, 1e-5, 0.1, 0},
        {0.2, kNaN, kNaN, 1e-5, 0.1, 0},
        {0.2, 300, std::numeric_limits<double>::infinity(), 1e-5, 0.1, 0}, // "Infinity" is a value
        // A Δθ that overflowed its columns is far outside the range.
        {kNaN, 300, 1200, 1e-5, 0.1, DThetaRange},
    };
    for (const Case& c : cases) {
        Reading r;
        r.dtheta = c.dtheta, r.tHalf = c.tHalf, r.tFin = c.tFin, r.ks = c.ks, r.psiM = c.psi;
        EXPECT_EQ(analyse({r}).readings[0].flags, c.flags) << c.dtheta << " " << c.ks;
    }
    EXPECT_EQ(flagNames(BadResult | Outlier | PsiNegative), "bad-result;outlier;psi<0");
    // A line of the table that is not a reading: one bad reading, nothing else.
    Reading odd;
    odd.unreadable = true;
    const Analysis a = analyse({odd});
    EXPECT_EQ(a.readings[0].flags, BadResult);
    EXPECT_EQ(a.leftOutInvalid, 1);
    EXPECT_EQ(flagNames(0), "");
}

// Quartiles at the positions (n + 1/3) p + 1/3. ln Ks of 0..6 and one more
// (relative to 1e-5): q1 = 1 + 5/12, q3 = 5 + 7/12, so the fences at 2.2 IQR
// lie at -7.75 and 14.75 (at 1.5 IQR the upper one would be 11.83).
TEST(SiteStats, OutlierFences)
{
    const struct {
        QList<double> v;
        double p, q;
    } quantiles[] = {
        {{4, 1, 3, 2}, 0.25, 1 + 5.0 / 12}, {{4, 1, 3, 2}, 0.75, 3 + 7.0 / 12}, {{5, 1, 4, 2, 3}, 0.25, 1 + 2.0 / 3},
        {{5, 1, 4, 2, 3}, 0.5, 3},          {{7}, 0.25, 7},                     {{1, 2}, 0.0, 1},
        {{1, 2}, 1.0, 2},
    };
    for (const auto& c : quantiles)
        EXPECT_NEAR(quantile(c.v, c.p), c.q, 1e-14) << c.p;

    const auto site = [](std::initializer_list<double> lnRel, std::initializer_list<bool> w = {}) {
        QList<Reading> out;
        for (double x : lnRel)
            out << withKs({1e-5 * std::exp(x)})[0];
        for (int k = 0; k < int(w.size()); ++k)
            out[k].w = std::data(w)[k];
        QList<bool> outlier;
        for (const Reading& r : analyse(out).readings)
            outlier << bool(r.flags & Outlier);
        return outlier;
    };
    const QList<bool> none(8, false);
    QList<bool> last = none;
    last.last() = true;
    EXPECT_EQ(site({0, 1, 2, 3, 4, 5, 6, 12}), none);  // beyond 1.5 IQR, within 2.2
    EXPECT_EQ(site({0, 1, 2, 3, 4, 5, 6, 15}), last);  // beyond 2.2 IQR
    EXPECT_EQ(site({1, 2, 3, 4, 5, 6, 7, -7}), none);
    EXPECT_EQ(site({1, 2, 3, 4, 5, 6, 7, -8}), last);  // below the lower fence
    // Seven readings used are too few to judge, however far one lies.
    EXPECT_EQ(site({0, 1, 2, 3, 4, 5, 30}), QList<bool>(7, false));
    // With the first of eight W-marked, seven are used: no fences; the mark
    // still lets a reading left out be measured against them once there are.
    EXPECT_EQ(site({30, 0, 1, 2, 3, 4, 5, 6}, {true}), none);
    QList<bool> first(9, false);
    first[0] = true;
    EXPECT_EQ(site({30, 0, 1, 2, 3, 4, 5, 6, 6.5}, {true}), first);
    // Quartiles that coincide give no spread to measure against.
    EXPECT_EQ(site({0, 0, 0, 0, 0, 0, 0, 0.1}), none);
}

TEST(SiteStats, DesignValueByRuleAndSafetyFactor)
{
    const auto readings = withKs({1e-5, 2e-5, 4e-5, 8e-5, 16e-5});
    const std::pair<Rule, double> cases[] = {{Rule::GeometricMean, 4e-5}, {Rule::Median, 4e-5},
                                             {Rule::TrimmedMean, 14e-5 / 3}, {Rule::Mean, 6.2e-5},
                                             {Rule::Minimum, 1e-5}};
    for (const auto& [rule, value] : cases) {
        Options o;
        o.rule = rule;
        o.safetyFactor = 2;
        EXPECT_NEAR(analyse(readings, o).designValue, value / 2, 1e-18) << ruleKey(rule).toStdString();
        EXPECT_EQ(parseRule(ruleKey(rule)), rule);
    }
    Options bad;
    bad.safetyFactor = 0;
    EXPECT_TRUE(std::isnan(analyse(readings, bad).designValue));
    EXPECT_FALSE(parseRule("average"));
    // The mean without the highest and lowest, from 3 readings used.
    Options tm;
    tm.rule = Rule::TrimmedMean;
    EXPECT_DOUBLE_EQ(analyse(withKs({1e-5, 2e-5, 3e-5, 10e-5}), tm).designValue, 2.5e-5);
    EXPECT_DOUBLE_EQ(analyse(withKs({7e-5, 2e-5, 3e-5}), tm).designValue, 3e-5);
    EXPECT_TRUE(std::isnan(analyse(withKs({1e-5, 2e-5}), tm).designValue));
    EXPECT_TRUE(std::isnan(analyse(withKs({1e-5, 2e-5, 3e-5}, {true}), tm).designValue));
    // The median without the highest and lowest is the median itself: no
    // longer a rule, and its key says why.
    EXPECT_FALSE(parseRule("trimmed-median"));
    EXPECT_TRUE(retiredRule("trimmed-median").contains("equals the median"));
    EXPECT_TRUE(retiredRule("average").isEmpty());
}

// s = 0.5, X = 20 %: the normal estimate is 29; t(28) gives 31.56, so 32;
// t(31) gives 31.28 <= 32 while n = 31 would need 31.37 > 31.
TEST(SiteStats, TestsNeeded)
{
    EXPECT_NEAR(t95(2), 4.302652729749464, 1e-12);
    EXPECT_EQ(testsNeeded(0.5, 0.2), 32);
    EXPECT_EQ(testsNeeded(0.0, 0.2), 2);      // no spread: the fewest an interval needs
    // s = 0.05: n = 2 would need (12.71 * 0.05 / 0.1823)^2 = 12.1, n = 3 needs 1.39.
    EXPECT_EQ(testsNeeded(0.05, 0.2), 3);
    EXPECT_TRUE(std::isnan(testsNeeded(kNaN, 0.2)));
    EXPECT_TRUE(std::isnan(testsNeeded(0.5, 0)));
    // Outside 0.1 % to 1000 % no count is given; at the ends it stays a
    // count a 64-bit integer holds, even for a spread of 60 decades.
    EXPECT_TRUE(std::isnan(testsNeeded(0.5, 1e-11)));
    EXPECT_TRUE(std::isnan(testsNeeded(0.5, 10.5)));
    EXPECT_EQ(testsNeeded(0.5, 10.0), 3); // n = 2 would need (12.7 * 0.5 / ln 11)^2 = 7.0
    EXPECT_LT(testsNeeded(std::log(10.0) * 30, 0.001), 9.2e18);
    // Every answer is the smallest n that satisfies the condition.
    for (double s : {0.1, 0.3, 0.8, 1.5})
        for (double x : {0.05, 0.1, 0.2, 0.5}) {
            const double n = testsNeeded(s, x);
            const auto need = [&](double m) { return std::pow(t95(m - 1) * s / std::log1p(x), 2); };
            EXPECT_GE(n, need(n)) << s << " " << x;
            if (n > 2) {
                EXPECT_LT(n - 1, need(n - 1)) << s << " " << x;
            }
        }
}

TEST(SiteStats, PropertiesOfRandomSites)
{
    std::mt19937 gen(20261209);
    std::lognormal_distribution<double> ks(std::log(2e-5), 1.2);
    std::uniform_int_distribution<int> count(2, 40);
    for (int i = 0; i < 200; ++i) {
        QList<Reading> readings;
        const int n = count(gen);
        for (int k = 0; k < n; ++k)
            readings << withKs({ks(gen)})[0];
        const Analysis a = analyse(readings);
        EXPECT_LE(a.ks.min, a.ks.gm);
        EXPECT_LE(a.ks.gm, a.ks.max);
        EXPECT_LE(a.ks.ciLow, a.ks.gm);
        EXPECT_GE(a.ks.ciHigh, a.ks.gm);
        EXPECT_LE(a.ks.gm, a.ks.mean * (1 + 1e-12)); // AM-GM
    }
}

TEST(Units, FactorsAndRoundTrips)
{
    using units::Ks;
    EXPECT_DOUBLE_EQ(units::fromSI(1e-5, Ks::MillimetrePerHour), 36.0);
    EXPECT_DOUBLE_EQ(units::fromSI(1e-5, Ks::MetrePerDay), 0.864);
    EXPECT_DOUBLE_EQ(units::toSI(1.0, Ks::InchPerHour), 0.0254 / 3600);
    EXPECT_DOUBLE_EQ(units::fromSI(0.0254, units::Psi::Inch), 1.0);
    for (Ks u : units::allKs()) {
        EXPECT_EQ(units::parseKs(units::name(u)), u);
        for (double v : {6.9e-7, 4.07e-5, 4.0e-3})
            EXPECT_NEAR(units::toSI(units::fromSI(v, u), u), v, v * 1e-15) << units::name(u).toStdString();
    }
    for (units::Psi u : units::allPsi()) {
        EXPECT_EQ(units::parsePsi(units::name(u)), u);
        EXPECT_NEAR(units::toSI(units::fromSI(13.0008, u), u), 13.0008, 1e-13);
    }
    EXPECT_EQ(units::parseKs(" um/s "), Ks::MicrometrePerSecond);
    EXPECT_EQ(units::name(Ks::MicrometrePerSecond), QString::fromUtf8("\xc2\xb5m/s"));
    EXPECT_FALSE(units::parseKs("ft/d"));
    EXPECT_FALSE(units::parsePsi("m/s"));
}

TEST(SiteStats, ReadsTheReportAsPrinted)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.out"), cut = dir.filePath("cut.out"), text = dir.filePath("notes.txt");
    writeFile(good, reportOf({kRow1, kRow2, "     3  0.1000    100.     90.   1.00    NaN    NaN    NaN   ********** 0.0001",
                              "     4********    300.   1200.   0.04   1.01   1.01   1.37   0.3596E-0812.5330",
                              "not a reading", "     6150.0000    300.   1200.   0.24   1.07   1.04   1.41   0.1353E-06 1.9352"}));
    writeFile(cut, reportOf({kRow1}).left(reportOf({kRow1}).size() - 90));
    writeFile(text, "just some notes\r\n");

    QString why;
    QList<Reading> readings;
    ASSERT_TRUE(loadReport(good, &readings, &why)) << why.toStdString();
    const auto r = &readings;
    ASSERT_EQ(r->size(), 6);
    EXPECT_EQ((*r)[0].point, 1);
    EXPECT_DOUBLE_EQ((*r)[0].dtheta, 0.2);
    EXPECT_DOUBLE_EQ((*r)[0].tFin, 1200);
    EXPECT_DOUBLE_EQ((*r)[0].ks, 0.4073e-4);
    EXPECT_DOUBLE_EQ((*r)[1].psiM, 13.0008);
    EXPECT_EQ((*r)[1].w, true);
    EXPECT_TRUE(std::isnan((*r)[2].ks)); // a field full of "*"
    // A Δθ too wide for its columns costs that one value; a line that is not
    // a reading is one bad reading, numbered by its place; the rest is read.
    const Analysis a = analyse(*r);
    EXPECT_EQ(a.readings[2].flags, BadResult | TFinNotLater);
    EXPECT_TRUE(std::isnan((*r)[3].dtheta));
    EXPECT_DOUBLE_EQ((*r)[3].ks, 0.3596e-8);
    EXPECT_DOUBLE_EQ((*r)[3].psiM, 12.533);
    EXPECT_EQ(a.readings[3].flags, DThetaRange | KsRange);
    EXPECT_TRUE((*r)[4].unreadable);
    EXPECT_EQ((*r)[4].point, 5);
    EXPECT_EQ(a.readings[4].flags, BadResult);
    EXPECT_EQ((*r)[5].point, 6);
    EXPECT_DOUBLE_EQ((*r)[5].dtheta, 150);
    EXPECT_EQ(a.used, 3); // readings 1, 4 and 6

    EXPECT_FALSE(loadReport(cut, &readings, &why));
    EXPECT_FALSE(loadReport(text, &readings, &why));
    EXPECT_TRUE(why.contains("Processed file:"));
    EXPECT_FALSE(loadReport(dir.filePath("missing.out"), &readings, &why));
    EXPECT_EQ(why, "cannot be read");
}

// Figures by key in the chosen units are checked through velstat's CSV.
TEST(SiteStats, CsvNumbers)
{
    EXPECT_EQ(csvNumber(kNaN), "");
    EXPECT_EQ(csvNumber(4.073e-05), "4.073e-05");
    EXPECT_EQ(csvNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(csvNumber(units::fromSI(7.349e-05, units::Ks::MicrometrePerSecond)), "73.49");
}

// Perfectly log-normal sites: any outlier flag on them is a false alarm. The
// share of sites with one must stay small for every site size that gets flags.
TEST(SiteStats, OutlierFlagsRarelyFalseOnLogNormalSites)
{
    std::mt19937 gen(16);
    std::lognormal_distribution<double> ks(std::log(2e-5), 1.0);
    for (int n : {4, 5, 6, 7, 8, 9, 10, 12, 15, 20, 30, 50, 100}) {
        const int sites = 2000;
        int flagged = 0;
        for (int s = 0; s < sites; ++s) {
            QList<Reading> readings;
            for (int k = 0; k < n; ++k)
                readings << withKs({ks(gen)})[0];
            const Analysis a = analyse(readings);
            for (const Reading& r : a.readings)
                if (r.flags & Outlier) {
                    ++flagged;
                    break;
                }
        }
        const double rate = double(flagged) / sites;
        std::printf("n = %3d: %.1f %% of sites with an outlier flag\n", n, rate * 100);
        if (n >= 8) {
            EXPECT_LE(rate, 0.10) << n;
        } else {
            EXPECT_EQ(flagged, 0) << n; // too few readings to judge
        }
    }
}

// Identical readings: every figure is exactly their value, the spread exactly 0.
TEST(SiteStats, IdenticalReadingsGiveExactFigures)
{
    for (double k : {7.789e-05, 4.073e-05, 1e-7, 3.3e-3}) {
        SCOPED_TRACE(k);
        QList<Reading> readings;
        for (int i = 0; i < 7; ++i)
            readings << withKs({k})[0];
        Options o;
        o.rule = Rule::TrimmedMean;
        const Analysis a = analyse(readings, o);
        for (double v : {a.ks.gm, a.ks.ciLow, a.ks.ciHigh, a.ks.median, a.ks.mean, a.ks.min, a.ks.max, a.trimmedMean,
                         a.designValue})
            EXPECT_EQ(v, k);
        EXPECT_EQ(a.ks.gsd, 1.0);
        EXPECT_EQ(a.ks.sd, 0.0);
        EXPECT_EQ(a.ks.cv, 0.0);
        EXPECT_EQ(a.testsNeeded, 2);
    }
    EXPECT_EQ(mean({0.1, 0.1, 0.1}), 0.1); // a plain sum would give 0.10000000000000002
    EXPECT_EQ(sd({0.1, 0.1, 0.1}), 0.0);
}

// Psi_m below 0 is flagged and kept out of the Psi_m figures; Ks keeps it.
TEST(SiteStats, NegativePsiLeftOutOfItsFigures)
{
    QList<Reading> readings = withKs({1e-5, 2e-5, 4e-5, 8e-5});
    readings[0].psiM = -0.25;
    readings[1].psiM = 0.02;
    readings[2].psiM = 0.04;
    readings[3].psiM = kNaN;
    const Analysis a = analyse(readings);
    EXPECT_EQ(a.used, 4);
    EXPECT_EQ(a.psiLeftOut, 2);
    EXPECT_DOUBLE_EQ(a.psi.min, 0.02);
    EXPECT_DOUBLE_EQ(a.psi.mean, 0.03);
    EXPECT_EQ(a.readings[0].flags, PsiNegative);
    EXPECT_DOUBLE_EQ(a.ks.min, 1e-5);
    const auto figs = figures(a, Options{});
    const auto left = std::find_if(figs.begin(), figs.end(), [](const Figure& f) { return f.key == "psi_excluded"; });
    ASSERT_NE(left, figs.end());
    EXPECT_EQ(left->value, 2);
}

// Below 5 readings used the interval says on how few it rests; the readings
// needed are always an estimate from the readings at hand.
TEST(SiteStats, NotesOnFewReadings)
{
    const auto notes = [](const QList<Reading>& readings) {
        QStringList out;
        for (const Figure& f : figures(analyse(readings), Options{}))
            if (!f.note.isEmpty())
                out << f.key + ": " + f.note;
        return out;
    };
    EXPECT_EQ(notes(withKs({1e-5})), QStringList());
    EXPECT_EQ(notes(withKs({1e-5, 2e-5})), QStringList({"ks_ci95_low: rests on 2 readings",
                                                         "ks_ci95_high: rests on 2 readings",
                                                         "tests_needed: an estimate from 2 readings"}));
    EXPECT_EQ(notes(withKs({1e-5, 2e-5, 3e-5, 4e-5, 5e-5}, {true})).size(), 3); // 4 used
    EXPECT_EQ(notes(withKs({1e-5, 2e-5, 3e-5, 4e-5, 5e-5})), QStringList({"tests_needed: an estimate from 5 readings"}));
    Figure f{"ks_ci95_low", "Ks GM 95 % confidence, low", 1, "m/s", "rests on 2 readings"};
    EXPECT_EQ(labelWithNote(f), "Ks GM 95 % confidence, low (rests on 2 readings)");
}


// Readings decades apart, as far as the float Ks the engine writes reaches:
// the interval of two of them reaches far beyond the range of a double. A
// figure too small for the display format is written in powers of ten; one
// whose computation ran below what a double holds is no figure, and is never
// shown, exported or copied as zero.
TEST(SiteStats, FiguresOfReadingsManyDecadesApartAreNeverShownAsZero)
{
    const QList<QList<Reading>> sites = {withKs({1e-40, 1e20}), withKs({1e20, 1e-40}),
                                         withKs({1e-40, 1e-20, 1.0, 1e20}), withKs({1e38, 2.5e-11}),
                                         withKs({2.5e-11, 1e38})};
    const QStringList ks = {"ks_gm", "ks_ci95_low", "ks_ci95_high", "ks_median", "ks_mean", "ks_min", "ks_max",
                            "design_value"};
    for (const units::Ks unit : {units::Ks::MetrePerSecond, units::Ks::MillimetrePerHour})
        for (const QList<Reading>& site : sites) {
            Options o;
            o.ksUnit = unit;
            o.safetyFactor = 3;
            const Analysis a = analyse(site, o);
            const QString what = QStringLiteral("Ks %1 ... %2 %3").arg(site.front().ks).arg(site.back().ks).arg(units::name(unit));
            for (const Figure& f : figures(a, o)) {
                for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
                    const QString text = figuretext::shown(f.value, f.kind, locale);
                    bool number = false;
                    const double read = locale.toDouble(text, &number);
                    if (number && read == 0) {
                        EXPECT_TRUE(f.value == 0 && !ks.contains(f.key))
                            << what.toStdString() << ": " << f.key.toStdString() << " shown as " << text.toStdString();
                    }
                }
            }
            // The spreadsheet's field of such a figure is empty, as for any
            // figure that cannot be computed, never "0".
            const QStringList header = sitecsv::summaryHeader().trimmed().split(',');
            const QStringList row = sitecsv::summaryRow("site", a, o).trimmed().split(',');
            ASSERT_EQ(row.size(), header.size());
            for (const QString& key : ks)
                EXPECT_NE(row[header.indexOf(key)], "0") << what.toStdString() << ": " << key.toStdString();
        }
}

// The geometric mean and its interval come from ln Ks relative to the first
// reading; where exp() of that alone leaves the range of a double while the
// figure itself does not, the figure is still computed, whatever the order
// of the readings.
TEST(SiteStats, AnIntervalFarFromTheFirstReadingIsStillComputed)
{
    const double lnA = std::log(1e38), lnB = std::log(2.5e-11);
    const double meanLn = (lnA + lnB) / 2, sdLn = std::abs(lnA - lnB) / std::sqrt(2.0);
    const double half = t95(1) * sdLn / std::sqrt(2.0);
    for (const QList<Reading>& site : {withKs({1e38, 2.5e-11}), withKs({2.5e-11, 1e38})}) {
        const Analysis a = analyse(site);
        ASSERT_GT(a.ks.ciLow, 0) << "about 1e-295 m/s: small, but a double holds it";
        EXPECT_NEAR(std::log(a.ks.ciLow), meanLn - half, 1e-9 * half);
        EXPECT_NEAR(std::log(a.ks.gm), meanLn, 1e-9 * half);
        EXPECT_TRUE(std::isinf(a.ks.ciHigh)) << "about 1e+322: beyond a double";
    }
    // Truly below what a double holds (about 1e-391): the zero that the test
    // above must never see shown.
    EXPECT_EQ(analyse(withKs({1e-40, 1e20})).ks.ciLow, 0.0);
}
