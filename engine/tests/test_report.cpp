#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "report.hpp"

using namespace velpra;

namespace {
const double inf = std::numeric_limits<double>::infinity();
const double nan_v = std::numeric_limits<double>::quiet_NaN();
}  // namespace

TEST(FieldForms, FixedPoint)
{
    struct Case {
        double v;
        int w, d;
        const char* text;
    };
    for (const Case& c : {
             Case{0.2f, 8, 4, "  0.2000"}, {300, 8, 0, "    300."}, {1200, 8, 0, "   1200."},
             // Ties on the exact binary value go to even.
             {95.5, 8, 0, "     96."}, {94.5, 8, 0, "     94."}, {0.15625, 8, 4, "  0.1562"},
             {0.4, 8, 0, "      0."}, {-0.4, 8, 0, "     -0."},
             // The leading zero goes only when the field has no room for it.
             {-0.25, 7, 4, "-0.2500"}, {-0.5, 6, 4, "-.5000"}, {0.5, 5, 4, ".5000"}, {-0.5, 5, 4, "*****"},
             // A value rounding to zero keeps its sign.
             {-0.00001, 7, 4, "-0.0000"}, {-0.0, 7, 4, "-0.0000"},
             {13.000806f, 7, 4, "13.0008"}, {19.99999f, 7, 2, "  20.00"},
             // Overflow is judged after rounding.
             {9999.99, 7, 2, "9999.99"}, {9999.996, 7, 2, "*******"}, {10000, 7, 2, "*******"},
             {3.4e38, 8, 0, "********"},
             {nan_v, 7, 2, "    NaN"}, {inf, 8, 0, "Infinity"}, {inf, 7, 2, "    Inf"},
             {-inf, 10, 4, " -Infinity"}, {-inf, 7, 4, "   -Inf"}, {nan_v, 2, 0, "**"}}) {
        EXPECT_EQ(format_fixed(c.v, c.w, c.d), c.text) << c.v << " w" << c.w << " d" << c.d;
    }
}

TEST(FieldForms, ScientificAndInteger)
{
    struct Case {
        double v;
        const char* text;
    };
    for (const Case& c : {Case{4.0733597e-05f, "0.4073E-04"}, {-4.0733597e-05f, "-.4073E-04"},
                          {0.0, "0.0000E+00"}, {1.9293464e-05f, "0.1929E-04"},
                          {8.683582e-07f, "0.8684E-06"}, {9.99996e-5, "0.1000E-03"},
                          {1.0625, "0.1062E+01"}, {3.4028235e38f, "0.3403E+39"},
                          {1.4e-45f, "0.1401E-44"}, {1e200, "0.1000+201"}, {inf, "  Infinity"},
                          {nan_v, "       NaN"}}) {
        EXPECT_EQ(format_scientific(c.v, 10, 4), c.text) << c.v;
    }
    EXPECT_EQ(format_integer(1000, 6), "  1000");
    EXPECT_EQ(format_integer(-5, 6), "    -5");
    EXPECT_EQ(format_integer(1234567, 6), "******");
}

TEST(ReportLines, RowsOfTheWorkedExample)
{
    ReadingResult r{180.0f, 5.6566529f, 4.4979415f, 5.9239845f, 4.0733597e-05f, 0.0139806f};
    EXPECT_EQ(reading_row(1, 0.2f, 300, 1200, r, false),
              "     1  0.2000    300.   1200. 180.00   5.66   4.50   5.92   0.4073E-04 0.0140");
    EXPECT_EQ(reading_row(1, 0.2f, 300, 1200, r, true).substr(58, 3), " * ");
    ReadingResult f{180.0f, 5.6566529f, 4.4979415f, 19.99999f, 8.683582e-07f, 13.000806f};
    EXPECT_EQ(reading_row(2, 0.2f, 300, 600, f, true),
              "     2  0.2000    300.    600. 180.00   5.66   4.50  20.00 * 0.8684E-0613.0008");
}

TEST(ReportLines, FixedLayouts)
{
    const auto usage = usage_lines();
    ASSERT_EQ(usage.size(), 9u);
    EXPECT_EQ(usage[0], "  ");
    EXPECT_EQ(usage[4].size(), 37u);  // blank + 36-character credit line
    EXPECT_EQ(usage[4].substr(0, 10), std::string(10, ' '));

    const auto banner = banner_lines();
    ASSERT_EQ(banner.size(), 16u);
    for (int row = 1; row <= 5; ++row) {
        const std::string& line = banner[static_cast<std::size_t>(row)];
        EXPECT_LE(line.size(), 53u);
        EXPECT_EQ(line.find_first_not_of(' '), static_cast<std::size_t>(1 + 10 - row)) << line;
    }
    for (int i = 6; i <= 13; ++i) EXPECT_EQ(banner[static_cast<std::size_t>(i)].size(), 53u) << i;
    EXPECT_EQ(banner[8], " | VELPRA: Data proc. from Philip-Dunne permeameter |");

    EXPECT_EQ(processed_file_line(std::string(70, 'x')), "Processed file:" + std::string(65, 'x'));
    EXPECT_EQ(processed_file_line("a.pd").size(), 80u);
    EXPECT_EQ(description_line("V.Arezo").size(), 65u);
    EXPECT_EQ(pipe_dimensions_line(0.05f, 0.3f), " Pipe dimensions used: ri= 0.0500 m; h0=   0.30 m");
    const auto header = table_header_lines();
    EXPECT_EQ(header[1].size(), 77u);
    EXPECT_EQ(header[2].size(), 76u);
    EXPECT_EQ(header[3], std::string(79, '-'));
    // The flag's asterisk stands under the W label.
    EXPECT_EQ(header[1][59], 'W');
}
