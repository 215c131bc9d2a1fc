// The data-set file: what is written, that a failed save keeps the old file,
// and how a file is read back into the window's texts.
#include "datafile.h"

#include "test_support.h"

#include <cmath>
#include <random>

using namespace veldesk;

namespace {
const QByteArray kHead = "d\r\n0.01800 , 0.30000\r\n";
} // namespace

TEST(DataFileCompose, RecordsInCrLfLinesReadingsUpToTheFirstRowReadingZero)
{
    EXPECT_EQ(datafile::compose("d", "0,018", "abc", {}), "d\r\n0.01800 , 0.00000\r\n");
    const QList<datafile::Row> grid = {{"0.15", "120", "300"}, {"0,12", "-95.5", "250"},
                                       {"0.1", "x1", "2"}, {"0.5", "14", "24"}};
    EXPECT_EQ(datafile::compose("d", "0.018", "0.3", grid),
              kHead + "0.15000 120.00000 300.00000\r\n0.12000 -95.50000 250.00000\r\n");
    EXPECT_TRUE(datafile::compose(QString::fromUtf8("Río"), "1", "1", {}).startsWith("R\xEDo\r\n"));
}

TEST(DataFileCompose, AZeroInAnyOfTheThreeCellsEndsTheReadings)
{
    const datafile::Row reading = {"0.2", "300", "1200"};
    const QByteArray expected = kHead + "0.20000 300.00000 1200.00000\r\n";
    // A zero t fin matters as much as a zero dtheta or t 1/2.
    for (const datafile::Row& stop : {datafile::Row{"0", "300", "1200"}, {"0.2", "", "1200"},
                                      {"0.2", "300", "0"}, {"0.2", "300", "0,0"}, {"0.2", "300", "t"}}) {
        EXPECT_EQ(datafile::compose("d", "0.018", "0.3", {reading, stop, reading}), expected)
            << stop[0].toStdString() << "|" << stop[1].toStdString() << "|" << stop[2].toStdString();
    }
}

TEST(DataFileWrite, AFailureWhileWritingLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pd");
    ASSERT_TRUE(datafile::write(path, kHead));
    EXPECT_FALSE(datafile::write(dir.filePath("missing/a.pd"), "x"));
    EXPECT_FALSE(datafile::write(dir.path(), "x"));

    // At most 1000 bytes per file, as on a full disk.
    const bool ok = underFileSizeLimit(1000, [&] { return datafile::write(path, QByteArray(5000, 'x')); });

    EXPECT_FALSE(ok);
    EXPECT_EQ(readFile(path), kHead);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.pd"}); // no temporary left
}

TEST(DataFileParse, HeadRecordsAsTextReadingsThreeAtATime)
{
    auto d = datafile::parse("Plot 3, B\r\n0.01800 , 0.30000\r\n0.25 120 600\r\n0.2,90\r\n\r\n500 1.5E-3 1D2 3\r\n");
    EXPECT_EQ(d.description, "Plot 3, B");
    EXPECT_EQ(d.ri, "0.01800");
    EXPECT_EQ(d.h0, "0.30000");
    ASSERT_EQ(d.readings.size(), 3);
    EXPECT_EQ(d.readings[0], (datafile::Row{"0.250", "120.0", "600.0"}));
    EXPECT_EQ(d.readings[1], (datafile::Row{"0.200", "90.0", "500.0"}));
    EXPECT_EQ(d.readings[2], (datafile::Row{"0.0015", "100.0", "3.0"}));
    EXPECT_EQ(datafile::parse("x\n0.018 0.3").h0, "0.3");
    EXPECT_EQ(datafile::parse("x\n 0.018,0.3 , m\n").h0, "0.3"); // only the second value
    EXPECT_EQ(datafile::parse("x\n 0.018,0.3 , m\n").ri, "0.018");
}

TEST(DataFileParse, StopRules)
{
    // A reading with a product of 0 or below is shown and ends the list.
    auto d = datafile::parse(kHead + "1 1 1\r\n-0.1 1 1\r\n2 2 2\r\n");
    ASSERT_EQ(d.readings.size(), 2);
    EXPECT_EQ(d.readings[1][0], "-0.100");
    EXPECT_EQ(datafile::parse(kHead + "1 1 1\r\n2 2\r\n").readings.size(), 1);           // end mid-reading
    EXPECT_EQ(datafile::parse(kHead + "1 1 1\r\n2 abc 2\r\n3 3 3\r\n").readings.size(), 1); // not a number
    EXPECT_EQ(datafile::parse(kHead + "1e-30 1e-30 1e-30\r\n2 2 2\r\n").readings.size(), 1); // 0 in single
    EXPECT_EQ(datafile::parse(kHead + "1 1 1\r\n0.2 1E40 5\r\n").readings.size(), 1); // beyond single
    QByteArray many = kHead;
    for (int i = 1; i <= 120; ++i)
        many += QByteArray::number(i) + " 10 20\r\n";
    d = datafile::parse(many);
    ASSERT_EQ(d.readings.size(), 100);
    EXPECT_EQ(d.readings[99][0], "100.000");
    EXPECT_EQ(d.unshown, datafile::Unshown::BeyondGrid);
}

// What the grid shows after Open is what Save writes back: opening and saving
// an unchanged data set gives the same readings.
TEST(DataFileParse, OpenShowsTheDecimalsAValueNeedsSoSavingAgainKeepsIt)
{
    const struct {
        QByteArray reading;
        datafile::Row shown;
    } cases[] = {
        {"0.25 120 600", {"0.250", "120.0", "600.0"}},
        {"0.12340 95.25000 600.50000", {"0.1234", "95.25", "600.5"}},
        {"0.123456 0.04 1.5E-3", {"0.12346", "0.04", "0.0015"}}, // at most 5 decimals
        {"12345.67 -0.0001 1D-5", {"12345.670", "-0.0001", "0.00001"}},
        // Field times whose decimals binary cannot hold show as they were typed.
        {"0.2 323.8 1051.2", {"0.200", "323.8", "1051.2"}},
        {"0.31 5000.3 1199.97", {"0.310", "5000.3", "1199.97"}},
        {"0.12345 323.79999 16777217", {"0.12345", "323.8", "16777216.0"}}, // the same single-precision values
        {"-0.0000018 -0.000004 0.3", {"0.000", "0.0", "0.3"}}, // rounds to zero: no sign, as Save writes it
    };
    for (const auto& c : cases) {
        const auto first = datafile::parse(kHead + c.reading + "\r\n");
        ASSERT_EQ(first.readings.size(), 1) << c.reading.constData();
        EXPECT_EQ(first.readings[0], c.shown) << c.reading.constData();
        const QByteArray saved = datafile::compose("d", first.ri, first.h0, first.readings);
        const auto again = datafile::parse(saved);
        EXPECT_EQ(datafile::compose("d", again.ri, again.h0, again.readings), saved) << c.reading.constData();
    }
}

// Open then Save of an unchanged data set writes the values of the file, not
// the five-decimal form of their binary approximations.
TEST(DataFileParse, SavingAnOpenedDataSetWritesTheFilesValues)
{
    const QByteArray file = kHead + "0.20000 323.80000 1051.20000\r\n0.15000 5000.30000 1199.97000\r\n";
    const auto opened = datafile::parse(file);
    EXPECT_EQ(datafile::compose("d", opened.ri, opened.h0, opened.readings), file);
    // Typed values are written as typed as well.
    EXPECT_EQ(datafile::compose("d", "0.018", "0.3", {{"0,2", "323.8", "1051.2"}}),
              kHead + "0.20000 323.80000 1051.20000\r\n");
}

// Values with up to 5 decimals across the magnitudes readings have: what Open
// shows reads back to the file's single-precision value, has no more decimals
// than the file's text (or the column's least), and Save writes a text that
// reads back to that value again.
TEST(DataFileParse, ShownValuesReadBackAndAreNoLongerThanTheFilesText)
{
    std::mt19937 random(15);
    for (int i = 0; i < 20000; ++i) {
        const int decimals = std::uniform_int_distribution<int>(0, 5)(random);
        const int digits = std::uniform_int_distribution<int>(1, 7)(random) + decimals;
        qint64 mantissa = std::uniform_int_distribution<qint64>(1, 9999999999LL)(random);
        while (QString::number(mantissa).size() > digits)
            mantissa /= 10;
        const QString token = QString::number(static_cast<double>(mantissa) / std::pow(10.0, decimals), 'f', decimals);
        const int column = i % 3;
        QStringList reading = {"0.25", "300", "1200"};
        reading[column] = token;
        const auto opened = datafile::parse(kHead + reading.join(' ').toLatin1() + "\r\n");
        ASSERT_EQ(opened.readings.size(), 1) << token.toStdString();
        const QString shown = opened.readings[0][column];
        const float value = token.toFloat();
        EXPECT_EQ(shown.toFloat(), value) << token.toStdString() << " shown " << shown.toStdString();
        const int least = column == 0 ? 3 : 1;
        const qsizetype point = shown.indexOf('.');
        EXPECT_LE(shown.size() - point - 1, std::max(least, decimals)) << token.toStdString();
        const auto again = datafile::parse(datafile::compose("d", "0.018", "0.3", opened.readings));
        ASSERT_EQ(again.readings.size(), 1);
        EXPECT_EQ(again.readings[0][column], shown) << token.toStdString();
    }
}

TEST(DataFileParse, FilesThatAreNotDataSetsAreRefused)
{
    using R = datafile::Refusal;
    const struct {
        QByteArray bytes;
        R why;
    } cases[] = {
        {"", R::Empty},
        {QByteArray("PK\x03\x04\0\0 0.018 0.3", 16), R::NotText},
        {"description only", R::NoPipeDimensions},
        {"d\r\n", R::NoPipeDimensions},
        {"d\r\n\r\n0.018 , 0.3\r\n", R::PipeDimensionsNotNumbers},
        {" \r\n  |   PERMEAMETER  |\r\n", R::PipeDimensionsNotNumbers}, // a results file
        {"d\r\n0.018 / 0.3\r\n", R::PipeDimensionsNotNumbers},
        {"d\r\n0,018 , 0,30\r\n0,25 120 600\r\n", R::ThirdNumber},      // decimal commas
        {"d\r\n0.018 0.3 7\r\n", R::ThirdNumber},
        {"\r\n0.018,0.3\r\n", R::None},
        {"d\r\n1E-2 , .3 m\r\n1 2 3", R::None},
    };
    for (const auto& c : cases) {
        const auto d = datafile::parse(c.bytes);
        EXPECT_EQ(d.refusal, c.why) << c.bytes.toStdString();
        EXPECT_EQ(datafile::refusalText(d.refusal).isEmpty(), c.why == R::None);
    }
}

// What Open leaves out, and saving over the file would drop, is known without
// reading all of a huge file.
TEST(DataFileParse, DataTheGridDoesNotShow)
{
    using U = datafile::Unshown;
    const auto readings = [](int n, QByteArray tail = {}) {
        QByteArray b = kHead;
        for (int i = 1; i <= n; ++i)
            b += "0.1 " + QByteArray::number(i) + " 500\r\n";
        return b + tail;
    };
    const struct {
        QByteArray bytes;
        U unshown;
    } cases[] = {
        {readings(100), U::None},
        {readings(100, "0.1 2"), U::None}, // an incomplete last reading is no reading
        {readings(101), U::BeyondGrid},
        {readings(3, "0 1 1\r\n"), U::None},
        {readings(3, "0 1 1\r\n1 1 1\r\n"), U::AfterStop},
        {readings(99, "0 1 1\r\n1 1 1\r\n"), U::AfterStop},
        {readings(3, "1 x 1\r\n"), U::AfterStop},
    };
    for (const auto& c : cases)
        EXPECT_EQ(datafile::parse(c.bytes).unshown, c.unshown) << c.bytes.right(20).toStdString();
    const auto cut = datafile::parse(readings(20) + "0.1 21 5", false); // a longer file's beginning
    EXPECT_EQ(cut.readings.size(), 20);
    EXPECT_EQ(cut.unshown, U::AfterStop);

    QTemporaryDir dir;
    const QString big = dir.filePath("big.pd");
    writeFile(big, readings(300) + QByteArray(3 * datafile::kReadLimit, ' ') + "\r\n");
    const auto d = datafile::read(big);
    EXPECT_EQ(d.readings.size(), 100);
    EXPECT_EQ(d.unshown, U::BeyondGrid);
    const QString line = dir.filePath("line.pd");
    writeFile(line, QByteArray(2 * datafile::kReadLimit, 'x') + "\r\n0.018 0.3\r\n");
    EXPECT_EQ(datafile::read(line).refusal, datafile::Refusal::NoPipeDimensions);
}

// Save reads a cell as one number or not at all: a cell that is not one
// number in the rows it would write is named, never written as its leading
// number; one in the row where the readings end, or below it, is left out.
TEST(DataFileSave, CellsThatAreNotOneNumberAreNamed)
{
    using C = datafile::CellAt;
    const struct {
        QList<datafile::Row> rows;
        int saved;
        QList<C> notNumbers;
    } cases[] = {
        {{{"0.2", "12abc", "500"}}, 1, {C{1, 2, "12abc"}}},
        {{{"1,2,3", "90", "500"}, {"0.1", "80", "0.2 0.3"}}, 2, {C{1, 1, "1,2,3"}, C{2, 3, "0.2 0.3"}}},
        {{{"Dtheta", "t 1/2", "t max"}, {"0.2", "90", "500"}}, 2,
         {C{1, 1, "Dtheta"}, C{1, 2, "t 1/2"}, C{1, 3, "t max"}}}, // a pasted heading row
        {{{"0,25", "1 250", "12 s"}, {"-0.5", "2,5E-3", "1.5D2"}}, 2, {}},
        {{{"0.2", "90", "500"}, {"abc", "", "400"}, {"x", "y", "z"}}, 1, {}},
        {{{"0.2", "90", "500"}, {"abc", "0", "400"}}, 1, {}},
    };
    for (const auto& c : cases) {
        const datafile::Extent e = datafile::extent(c.rows);
        EXPECT_EQ(e.saved, c.saved) << c.rows[0][0].toStdString();
        EXPECT_EQ(e.notNumbers, c.notNumbers) << c.rows[0][0].toStdString();
    }
    // Nothing that is not one number reaches the file.
    EXPECT_EQ(datafile::compose("d", "0.018", "0.3", {{"0.2", "90", "500"}, {"0.2", "12abc", "500"}}),
              kHead + "0.20000 90.00000 500.00000\r\n");
}

TEST(DataFileSave, RowsLeftOutWithDataAreCounted)
{
    const struct {
        QList<datafile::Row> rows;
        int saved, leftOut, from;
    } cases[] = {
        {{{"0.2", "90", "500"}, {"0.1", "80", "400"}, {"", "", ""}}, 2, 0, 0},
        {{{"0.2", "90", "500"}, {"", "", ""}, {"0.1", "80", "400"}, {"0.1", "8", "40"}}, 1, 2, 3},
        {{{"0.2", "90", "500"}, {"0.1", "", "400"}, {"Dtheta", "t 1/2", "t max"}}, 1, 2, 2},
        {{{"0.2", "90", "500"}, {"0.1", "0", "400"}, {" ", "", ""}}, 1, 1, 2},
        {{{"0.2", "90", "500"}, {"0", "", " 0,00"}, {"-0", ".0", ""}}, 1, 0, 0}, // zeros are no data
    };
    for (const auto& c : cases) {
        const datafile::Extent e = datafile::extent(c.rows);
        EXPECT_EQ(e.saved, c.saved);
        EXPECT_EQ(e.leftOutWithData, c.leftOut);
        EXPECT_EQ(e.firstLeftOut, c.from);
    }
}

// Descriptions the engine would misread, or that the file cannot hold, are
// refused; the message says why. (What the engine makes of the accepted ones:
// test_description_engine.)
TEST(DataFileSave, DescriptionsTheEngineWouldMisreadAreRefused)
{
    const struct {
        const char* description; // UTF-8
        const char* problem;     // part of the message; nullptr: accepted
    } cases[] = {
        {"Año – “plot” 7 €", nullptr},
        {"", "empty"},
        {" \t ", "empty"},
        {"'98 campaign", "an apostrophe (') and never closes"},
        {"'it''", "never closes"},
        {"Δθ plot", "\"Δ\" (U+0394)"},
        {"a\nb", "one line"},
        {"a\x01" "b", "(U+0001)"},
    };
    for (const auto& c : cases) {
        QString problem;
        const bool ok = datafile::checkDescription(QString::fromUtf8(c.description), &problem);
        if (!c.problem) {
            EXPECT_TRUE(ok) << c.description << ": " << problem.toStdString();
            continue;
        }
        ASSERT_FALSE(ok) << c.description;
        EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem))) << problem.toStdString();
    }
    EXPECT_TRUE(datafile::compose(QString::fromUtf8("– “x” €"), "1", "1", {}).startsWith("\x96 \x93x\x94 \x80\r\n"));
}
