// The printed report's page split and its running texts, and the numbers
// behind the charts.
#include "chartdata.h"
#include "reportpages.h"
#include "test_support.h"

#include <cmath>

using namespace veldesk;

using namespace reportpages;

TEST(ReportPages, SplitsLinesIntoFullPagesAndARest)
{
    struct Case {
        int lines, perPage;
        QList<std::pair<int, int>> pages; // first, count
    };
    const Case cases[] = {
        {0, 60, {{0, 0}}},                       // an empty report still gets its page
        {26, 60, {{0, 26}}},                     // a report without readings
        {120, 60, {{0, 60}, {60, 60}}},          // exactly full pages, no empty one after
        {1026, 60, {}},                          // 17 full pages and a rest
        {3, 0, {{0, 1}, {1, 1}, {2, 1}}},        // a page holds at least one line
    };
    for (const Case& c : cases) {
        const auto pages = paginate(c.lines, c.perPage);
        int next = 0;
        for (const TextPage& p : pages) {
            EXPECT_EQ(p.first, next) << c.lines;
            next += p.count;
        }
        EXPECT_EQ(next, c.lines) << "every line on exactly one page";
        if (!c.pages.isEmpty()) {
            ASSERT_EQ(pages.size(), c.pages.size()) << c.lines;
            for (int i = 0; i < pages.size(); ++i)
                EXPECT_EQ(std::make_pair(pages[i].first, pages[i].count), c.pages[i]) << c.lines << " page " << i;
        }
    }
    EXPECT_EQ(paginate(1026, 60).size(), 18);
    EXPECT_EQ(footerText(2, 19), "Page 2 of 19");
}

TEST(ReportPages, TheChartStaysOnPageOneOnlyWhileItHasRoomToRead)
{
    struct Case {
        bool withChart;
        double roomMm;
        ChartPlace place;
        int pages; // with 3 text pages
    };
    const Case cases[] = {
        {true, 110.0, ChartPlace::SummaryPage, 4},          // A4 upright
        {true, kChartMinHeightMm, ChartPlace::SummaryPage, 4},
        {true, kChartMinHeightMm - 0.1, ChartPlace::OwnPage, 5},
        {true, 12.0, ChartPlace::OwnPage, 5},               // A4 lying: the chart's own page is counted
        {true, -20.0, ChartPlace::OwnPage, 5},              // a summary longer than the page
        {false, 110.0, ChartPlace::None, 4},                // a build without charts
        {false, 12.0, ChartPlace::None, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chartPlace(c.withChart, c.roomMm), c.place) << c.roomMm;
        EXPECT_EQ(totalPages(3, chartPlace(c.withChart, c.roomMm)), c.pages) << c.roomMm;
    }
}

TEST(ReportPages, TakesNamesAndVersionsFromTheReport)
{
    QStringList lines(16, " ");
    lines[9] = " |         v0.3 for DOS and UNIX                    |";
    lines[10] = " | (c) 2002 by a vendor 5                             |"; // a digit that is no version
    lines << "Processed file:C:\\ZEDAT\\site.v2\\orchard.pd                                "
          << " Description:  Sandy loam, plot A                                 "
          << " Pipe dimensions used: ri= 0.0180 m; h0=   0.30 m";
    EXPECT_EQ(engineVersion(lines), "v0.3");
    EXPECT_EQ(dataSetName(lines), "orchard.pd");
    EXPECT_EQ(description(lines), "Sandy loam, plot A");
    EXPECT_EQ(pipeDimensions(lines), "Pipe dimensions used: ri= 0.0180 m; h0=   0.30 m");
    EXPECT_EQ(columnsToFit(lines), 80);
    lines << QString(93, 'x');
    EXPECT_EQ(columnsToFit(lines), 93);

    const QStringList truncated = lines.mid(0, 16);
    EXPECT_EQ(dataSetName(truncated), "");
    EXPECT_EQ(description(truncated), "");
    // A version word after the banner is not the engine's.
    QStringList late(16, " ");
    late << "Processed file:v9.pd";
    EXPECT_EQ(engineVersion(late), "");
}

TEST(ChartData, ProbabilityPlotUsesBlomQuantilesAndTheMomentLine)
{
    // Blom positions for n = 4: 0.1471, 0.3824, 0.6176, 0.8529; their normal
    // quantiles are symmetric about 0.
    const auto plot = chartdata::probabilityPlot({3.0, NAN, 1.0, INFINITY, 4.0, 2.0});
    ASSERT_EQ(plot.points.size(), 4);
    const double expectedX[] = {-1.0491, -0.2993, 0.2993, 1.0491};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(plot.points[i].x(), expectedX[i], 1e-4) << i;
        EXPECT_EQ(plot.points[i].y(), i + 1.0) << "sorted, non-finite left out";
    }
    EXPECT_DOUBLE_EQ(plot.mean, 2.5);
    ASSERT_TRUE(plot.sd);
    EXPECT_NEAR(*plot.sd, std::sqrt(5.0 / 3.0), 1e-12);
    const auto line = chartdata::fittedLine(plot);
    ASSERT_EQ(line.size(), 2);
    EXPECT_NEAR(line[0].y(), 2.5 - std::sqrt(5.0 / 3.0) * 1.0491, 1e-3);
    EXPECT_NEAR(line[1].y(), 2.5 + std::sqrt(5.0 / 3.0) * 1.0491, 1e-3);

    const auto one = chartdata::probabilityPlot({-7.0});
    ASSERT_EQ(one.points.size(), 1);
    EXPECT_NEAR(one.points[0].x(), 0.0, 1e-12); // the median position
    EXPECT_FALSE(one.sd);
    EXPECT_TRUE(chartdata::fittedLine(one).isEmpty());
    EXPECT_TRUE(chartdata::probabilityPlot({}).points.isEmpty());
}

TEST(ChartData, LogAxisCoversWholeDecades)
{
    struct Case {
        std::vector<double> values;
        double min, max;
    };
    const Case cases[] = {
        {{2e-6, 3e-4}, 1e-6, 1e-3},
        {{1e-5}, 1e-5, 1e-4},              // one exact power of ten still spans a decade
        {{1e-5, 1e-3}, 1e-5, 1e-3},        // exact powers open no extra decade
        {{4.07e-5, -1.0, 0.0, NAN, INFINITY}, 1e-5, 1e-4}, // only finite positive values count
        {{123.0, 0.5}, 0.1, 1000.0},       // units such as mm/h reach above 1
        {{5e-324, 1.7e308}, 1e-323, 1e308}, // no further than a double's powers of ten
    };
    for (const Case& c : cases) {
        const auto d = chartdata::decadeRange(c.values);
        ASSERT_TRUE(d) << c.min;
        EXPECT_NEAR(std::log10(d->min), std::log10(c.min), 1e-9) << c.min;
        EXPECT_NEAR(std::log10(d->max), std::log10(c.max), 1e-9) << c.max;
    }
    EXPECT_FALSE(chartdata::decadeRange({0.0, -2.0, NAN}));
}

TEST(ChartData, LegendTextBreaksAtBlanksAndNeverCutsAWord)
{
    // Measured in characters here; the chart measures in its legend's font.
    const auto chars = [](const QString& t) { return double(t.size()); };
    struct Case {
        QString text;
        double width;
        QStringList lines;
    };
    const Case cases[] = {
        {"Design value (mean without the highest and lowest / 2)", 16,
         {"Design value", "(mean without", "the highest and", "lowest / 2)"}},
        {"Design value (median / 2)", 100, {"Design value (median / 2)"}}, // fits: one line
        {"ab cd", 5, {"ab cd"}},                                          // exactly as wide as allowed
        {"ab cd", 4, {"ab", "cd"}},
        {"a unbreakable b", 4, {"a", "unbreakable", "b"}},                // too wide, but whole
        {"  two   blanks ", 20, {"two blanks"}},
        {"", 10, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chartdata::wrapWords(c.text, c.width, chars), c.lines) << c.text.toStdString();
}

TEST(ChartData, ALogAxisLabelsEveryFewDecadesWhenThereAreMany)
{
    struct Case {
        double lo, hi;           // the decades, as powers of ten
        int step;                // decades from label to label
        double rangeLo, rangeHi; // widened to whole steps
        int labels;
    };
    const Case cases[] = {
        {-5, -4, 1, -5, -4, 2},          // one decade
        {-6, -3, 1, -6, -3, 4},          // a site as most are
        {-10, -3, 1, -10, -3, 8},        // as many labels as still read
        {-11, -3, 2, -12, -2, 6},        // one more decade: every other one
        {-15, 5, 5, -15, 5, 5},          // 20 decades
        {-14, 6, 5, -15, 10, 6},         // the same, off the step: widened at both ends
        {-40, 20, 10, -40, 20, 7},       // Ks of the range a float holds, in m/s
        {-46, 39, 20, -60, 40, 6},
        {-323, 308, 100, -323, 308, 7},  // every decade of a double: the ends stay in its range
    };
    for (const Case& c : cases) {
        const auto axis = chartdata::logAxis({std::pow(10.0, c.lo), std::pow(10.0, c.hi)});
        EXPECT_EQ(axis.step, c.step) << c.lo << ".." << c.hi;
        EXPECT_DOUBLE_EQ(axis.range.min, std::pow(10.0, c.rangeLo)) << c.lo << ".." << c.hi;
        EXPECT_DOUBLE_EQ(axis.range.max, std::pow(10.0, c.rangeHi)) << c.lo << ".." << c.hi;
        EXPECT_EQ(axis.labels, c.labels) << c.lo << ".." << c.hi;
        EXPECT_LE(axis.labels, chartdata::kMaxLogLabels);
    }
    // Room for more labels spares the step.
    EXPECT_EQ(chartdata::logAxis({1e-11, 1e-3}, 10).step, 1);
}
