// Clipboard text between the reading grid and other programs: row cutting,
// reading pasted cells, what a cleaned cell shows and the text offered out.
#include "gridtext.h"

#include "Module1.h"
#include "test_support.h"

using namespace veldesk;

using namespace gridtext;

namespace {
const QLocale en(QLocale::English, QLocale::UnitedStates);
const QLocale de(QLocale::German, QLocale::Germany);
const QLocale fr(QLocale::French, QLocale::France);
} // namespace

TEST(SplitRows, EveryLineEndEndsARowAndTheLastOneStartsNone)
{
    const std::pair<const char*, QList<QStringList>> cases[] = {
        {"0.25\t120\t600\r\n0.2\t90\t500\r\n", {{"0.25", "120", "600"}, {"0.2", "90", "500"}}},
        {"0.25\t120\n0.2\t90\n", {{"0.25", "120"}, {"0.2", "90"}}},
        {"1\r2", {{"1"}, {"2"}}},
        {"1\r\n\r\n2\n\n", {{"1"}, {""}, {"2"}, {""}}},
        {"", {}},
    };
    for (const auto& [text, rows] : cases)
        EXPECT_EQ(splitRows(QString::fromUtf8(text)), rows) << text;
}

TEST(RowsLeftOut, CountsRowsBeyondTheGridUpToTheLastWithText)
{
    const QStringList full{"1", "2", "3"}, blank{" ", "\t"};
    const struct {
        QList<QStringList> rows;
        int leftOut;
    } cases[] = {
        {{full, full}, 0},                       // fits exactly
        {{full, full, full}, 1},                 // one beyond
        {{full, full, blank, blank}, 0},         // only blank rows beyond
        {{full, full, blank, full, blank}, 2},   // a blank row between lost ones counts
        {{full, full, {""}, {"", "", "x"}}, 2},  // text in any cell of the row
        {{full}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rowsLeftOut(c.rows, 2), c.leftOut) << c.rows.size();
}

TEST(ReadPasted, DecimalCommaGroupingBlanksAndUnitsUnderEachSetting)
{
    struct Case {
        const QLocale* locale;
        const char* text;
        Reading::Kind kind;
        double value;
    };
    const auto N = Reading::Number, U = Reading::Unreadable, E = Reading::Empty;
    const Case cases[] = {
        {&en, "95,5", N, 95.5},        {&en, "0,25", N, 0.25},         {&en, "1,250", N, 1250},
        {&en, "1,250.5", N, 1250.5},   {&en, "1\u00a0250", N, 1250},   {&en, "12 s", N, 12},
        {&en, "2,5E-3", N, 0.0025},    {&en, "-0.5", N, -0.5},         {&en, "+.5", N, 0.5},
        {&en, "94.", N, 94},           {&en, "1.5D2", N, 150},         {&en, " \t", E, 0},
        {&en, "0,250", N, 0.25},       {&en, "12,5", N, 12.5},
        {&de, "1.250", N, 1250},       {&de, "1,250", N, 1.25},        {&de, "1.234,5", N, 1234.5},
        {&de, "0.25", N, 0.25},        {&de, "95.5", N, 95.5},
        {&fr, "1\u202f250,5", N, 1250.5},
        {&en, "1.234,5", U, 0},        {&en, "12abc", U, 0},           {&en, "1 2", U, 0},
        {&en, "1e39", U, 0},           {&en, ".", U, 0},               {&en, "1.2.3", U, 0},
        {&en, "1,234,5", U, 0},        {&en, "- 5", U, 0},             {&en, "Dq", U, 0},
        {&en, "12 min", U, 0},         {&en, "1e", U, 0},              {&en, "nan", U, 0},
    };
    for (const Case& c : cases) {
        const Reading r = readPasted(QString::fromUtf8(c.text), *c.locale);
        EXPECT_EQ(r.kind, c.kind) << c.text;
        EXPECT_DOUBLE_EQ(r.value, c.value) << c.text;
    }
}

// What a cell shows is read back by Save as the value shown, whatever the
// regional settings: a point after Open and the operator's separator after
// typing are both decimal marks; only blanks group digits.
TEST(ReadCell, EveryTextACellShowsReadsAsItsValue)
{
    const auto N = Reading::Number, U = Reading::Unreadable, E = Reading::Empty;
    const std::tuple<const char*, Reading::Kind, double> cases[] = {
        {"1.250", N, 1.25},   {"1,250", N, 1.25},  {"0,25", N, 0.25},  {"323.8", N, 323.8},
        {"1 250", N, 1250},   {"-2,5E-07", N, -2.5e-7}, {"1E+15", N, 1e15}, {"12 s", N, 12},
        {"", E, 0},           {"  ", E, 0},        {"12abc", U, 0},    {"1,2,3", U, 0},
        {"0.2 0.3", U, 0},    {"1.234,5", U, 0},   {"-", U, 0},        {"Dq", U, 0},
    };
    for (const auto& [text, kind, value] : cases) {
        const Reading r = readCell(QString::fromUtf8(text));
        EXPECT_EQ(r.kind, kind) << text;
        EXPECT_DOUBLE_EQ(r.value, value) << text;
    }
    // Numbers as typing and pasting show them, in both kinds of settings.
    for (const QLocale* locale : {&en, &de, &fr}) {
        for (const double v : {0.25, 1250.5, 323.8, -0.0001, 1e-5, 12345678.0}) {
            EXPECT_DOUBLE_EQ(readCell(Module1::generalNumber(v, *locale)).value, v) << v;
            EXPECT_DOUBLE_EQ(readCell(shownAsSaved(v, *locale)).value, readPasted(shownAsSaved(v, *locale), *locale).value)
                << v;
        }
    }
}

TEST(TypedCell, ANumberShowsInTheGeneralFormatOtherTextIsKeptAndMarked)
{
    const std::tuple<const QLocale*, const char*, const char*, bool> cases[] = {
        {&en, "1.50", "1.5", false}, {&en, "1,5", "1.5", false},   {&de, "1.5", "1,5", false},
        {&en, "", "0", false},       {&en, "2.5e2", "250", false}, {&en, "1,250", "1250", false},
        {&en, "12abc", "12abc", true}, {&en, "1,2,3", "1,2,3", true}, {&en, "0.2 0.3", "0.2 0.3", true},
        {&en, "abc", "abc", true},
    };
    for (const auto& [locale, typed, shown, marked] : cases) {
        const Cleaned c = typedCell(QString::fromUtf8(typed), *locale);
        EXPECT_EQ(c.text, shown) << typed;
        EXPECT_EQ(c.attention, marked) << typed;
    }
}

TEST(ShownAsSaved, TheCellShowsTheValueSaveWrites)
{
    const std::tuple<double, const QLocale*, const char*> cases[] = {
        {0.25, &de, "0,25"},    {0.123456, &en, "0.12346"}, {12345.67, &en, "12345.67"},
        {1e-5, &en, "1E-05"},   {1e-6, &en, "0"},           {-5, &en, "-5"},
        {600, &de, "600"},      {0.018, &en, "0.018"},
    };
    for (const auto& [v, locale, shown] : cases) {
        const QString text = shownAsSaved(v, *locale);
        EXPECT_EQ(text, shown) << v;
        // What Save writes for the cell is what it writes for the pasted value.
        EXPECT_EQ(Module1::formatea_numero(static_cast<float>(Module1::valor_numero(text)), 5),
                  Module1::formatea_numero(static_cast<float>(v), 5))
            << v;
    }
}

TEST(CleanCell, NumbersShowAsSavedOtherTextIsKeptWithoutControlCharacters)
{
    EXPECT_EQ(cleanCell("0,250", en).text, "0.25");
    EXPECT_FALSE(cleanCell("0,250", en).attention);
    EXPECT_EQ(cleanCell("\x03" "abc\x7f", en).text, "abc");
    EXPECT_TRUE(cleanCell("abc", en).attention);
    EXPECT_EQ(cleanCell("\x16", en).text, "");
    EXPECT_FALSE(cleanCell("\x16", en).attention);
}

TEST(ForOtherPrograms, PlatformRowsAndTheOperatorsSeparatorInCommaSettings)
{
    const QString grid = "No\tDq\r1\t0.250\t94.\t0.4073E-04\t  300.\t*\t-.5\t.";
    EXPECT_EQ(forOtherPrograms(grid, en, "\n"), "No\tDq\n1\t0.250\t94.\t0.4073E-04\t  300.\t*\t-.5\t.");
    EXPECT_EQ(forOtherPrograms(grid, de, "\r\n"), "No\tDq\r\n1\t0,250\t94\t0,4073E-04\t  300\t*\t-,5\t.");
}
