// The data-set file: what is written, that a failed save keeps the old file,
// and how a file is read back into the window's texts.
#include "datafile.h"

#include "test_support.h"

#include <csignal>
#include <sys/resource.h>

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

    // At most 1000 bytes per file, as on a full disk; this binds root too.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = datafile::write(path, QByteArray(5000, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

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
    EXPECT_EQ(d.readings[2], (datafile::Row{"0.002", "100.0", "3.0"}));
    EXPECT_EQ(datafile::parse("x\n0.018 0.3").h0, "0.3");
    EXPECT_EQ(datafile::parse("x\n 0.018,0.3 , 7\n").h0, "0.3"); // only the second value
    EXPECT_EQ(datafile::parse("x\n 0.018,0.3 , 7\n").ri, "0.018");
    EXPECT_FALSE(datafile::parse("desc\r\n").hasPipe);
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
    QByteArray many = kHead;
    for (int i = 1; i <= 120; ++i)
        many += QByteArray::number(i) + " 10 20\r\n";
    d = datafile::parse(many);
    ASSERT_EQ(d.readings.size(), 100);
    EXPECT_EQ(d.readings[99][0], "100.000");
}
