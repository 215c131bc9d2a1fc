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
