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

TEST(ReportLines, BannerAndHeader)
{
    const auto banner = banner_lines();
    ASSERT_EQ(banner.size(), 16u);
    for (std::size_t row = 1; row <= 5; ++row) {  // the logo leans: 9 blanks, then one fewer per row
        EXPECT_LE(banner[row].size(), 53u);
        EXPECT_EQ(banner[row].find_first_not_of(' '), 11 - row) << banner[row];
    }
    for (std::size_t i = 6; i <= 13; ++i) EXPECT_EQ(banner[i].size(), 53u) << i;
    const auto header = table_header_lines();
    EXPECT_EQ(header[1].size(), 77u);
    EXPECT_EQ(header[2].size(), 76u);
    EXPECT_EQ(header[1][59], 'W');  // above the flag's asterisk in column 60
}
