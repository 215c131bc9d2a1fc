// Figures as people read them, in the window, on paper and in velstat's text.
#include "figuretext.h"

#include "test_support.h"

#include <cmath>
#include <limits>

using namespace veldesk;
using figuretext::Kind;

TEST(FigureText, FourSignificantDigitsCountsWholeOneWordForUndefined)
{
    const QLocale c = QLocale::c(), de(QLocale::German, QLocale::Germany);
    const double inf = std::numeric_limits<double>::infinity();
    const std::tuple<double, Kind, const QLocale*, const char*> cases[] = {
        {2.91, Kind::Value, &c, "2.910"},       // trailing zeros kept: 4 digits everywhere
        {4.152, Kind::Value, &de, "4,152"},     {2e-5, Kind::Value, &c, "2.000e-05"},
        {9.9996, Kind::Value, &c, "10.00"},     {0.001, Kind::Value, &c, "0.001000"},
        {123456, Kind::Value, &c, "1.235e+05"}, {12345, Kind::Value, &de, "12345"},
        {0, Kind::Value, &c, "0.000"},          {-0.5, Kind::Value, &c, "-0.5000"},
        {1.41421, Kind::Ratio, &c, "1.414"},    {58, Kind::Count, &c, "58"},
        {1307, Kind::Count, &de, "1307"},       // never grouped
        {NAN, Kind::Value, &c, "undefined"},    {NAN, Kind::Count, &de, "undefined"},
        {inf, Kind::Ratio, &c, "undefined"},
    };
    for (const auto& [v, kind, locale, text] : cases)
        EXPECT_EQ(figuretext::shown(v, kind, *locale), text) << v;
}

// A figure smaller than the plain decimals reach is written in powers of ten,
// down to the smallest a double holds; never as 0. A zero that can only come
// from a computation below that range (a figure above zero by nature) is no
// figure, and says so in the one wording of a figure that cannot be computed.
TEST(FigureText, TinyFiguresInPowersOfTenAndAnUnderflowIsNoFigure)
{
    const QLocale c = QLocale::c(), de(QLocale::German, QLocale::Germany);
    const double smallest = std::numeric_limits<double>::denorm_min();
    const std::tuple<double, Kind, const QLocale*, const char*> cases[] = {
        {1.234e-42, Kind::Value, &c, "1.234e-42"},          // below the smallest float
        {1.234e-42, Kind::Value, &de, "1,234E-42"},
        {smallest, Kind::PositiveValue, &c, "4.941e-324"},  // the smallest double
        {0.0, Kind::PositiveValue, &c, "undefined"},         // ran below a double
        {-0.0, Kind::PositiveValue, &de, "undefined"},
        {0.0, Kind::Value, &c, "0.000"},                     // a spread of equal readings is truly 0
        {0.0, Kind::Count, &c, "0"},
        {INFINITY, Kind::PositiveValue, &c, "undefined"},
    };
    for (const auto& [v, kind, locale, text] : cases)
        EXPECT_EQ(figuretext::shown(v, kind, *locale), text) << v;
}
