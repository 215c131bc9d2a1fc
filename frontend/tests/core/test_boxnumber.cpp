// The analysis window's typed numbers: one number, "." or "," as the decimal
// mark, within the range the figure allows.
#include "boxnumber.h"

#include "test_support.h"

#include <cmath>

using namespace veldesk;

TEST(BoxNumber, SafetyFactorAndPrecisionAreOnePositiveNumber)
{
    const double no = NAN;
    const std::tuple<const char*, double, double> cases[] = {
        // text, safety factor, precision percent (NaN: refused)
        {"2,5", 2.5, 2.5},   {"2.5", 2.5, 2.5},   {" 150 ", 150, 150}, {"1", 1, 1},
        {"1e3", 1000, 1000}, {"0.5", no, 0.5},    {"0", no, no},       {"-2", no, no},
        {"20 %", no, 20},    {"20%", no, 20},     {"abc", no, no},     {"", no, no},
        {"2,5,1", no, no},   {"2.5 3", no, no},   {"2 s", no, no},     {"1e400", no, no},
    };
    for (const auto& [text, factor, percent] : cases) {
        QString why;
        const auto f = boxnumber::readSafetyFactor(QString::fromUtf8(text), &why);
        EXPECT_EQ(f.has_value(), !std::isnan(factor)) << text;
        if (f) {
            EXPECT_DOUBLE_EQ(*f, factor) << text;
        } else {
            EXPECT_FALSE(why.isEmpty()) << text;
        }
        const auto p = boxnumber::readPrecisionPercent(QString::fromUtf8(text));
        EXPECT_EQ(p.has_value(), !std::isnan(percent)) << text;
        if (p) {
            EXPECT_DOUBLE_EQ(*p, percent) << text;
        }
    }
    // What a box shows reads back to its value in both kinds of settings.
    for (const QLocale& l : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)})
        for (const double v : {1.0, 2.5, 150.0, 12.125, 1234567.0})
            EXPECT_DOUBLE_EQ(*boxnumber::readSafetyFactor(boxnumber::shown(v, l)), QString::number(v, 'g', 6).toDouble());
}
