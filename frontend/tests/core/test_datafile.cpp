// The data-set file: what is written, that a failed save keeps the old file,
// and how a file is read back into the window's texts.
#include "datafile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QList<datafile::Row> rows(std::initializer_list<datafile::Row> list)
{
    return QList<datafile::Row>(list);
}

QByteArray slurp(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(DataFileCompose, RecordsWithCrLfFiveDecimalsAndPoint)
{
    const QByteArray b = datafile::compose("V.Arezo Input data", "0.018", "0.30",
                                           rows({{"0.15", "120", "300"}, {"0,12", "95.5", "250"}}));
    EXPECT_EQ(b, "V.Arezo Input data\r\n0.01800 , 0.30000\r\n"
                 "0.15000 120.00000 300.00000\r\n0.12000 95.50000 250.00000\r\n");
}

TEST(DataFileCompose, PipeDimensionsAreWrittenWhateverTheyHold)
{
    EXPECT_EQ(datafile::compose("", "0,018", "abc", {}), "\r\n0.01800 , 0.00000\r\n");
    EXPECT_EQ(datafile::compose("d", "-0.5", "1e-3", {}), "d\r\n-0.50000 , 0.00100\r\n");
}

TEST(DataFileCompose, ReadingsStopAtTheFirstRowWithAZeroEmptyOrTextCell)
{
    const QByteArray head = "d\r\n0.01800 , 0.30000\r\n";
    EXPECT_EQ(datafile::compose("d", "0.018", "0.3", rows({{"0.2", "", "600"}, {"0.1", "1", "2"}})), head);
    const auto withGap = rows({{"0.1", "10", "20"}, {"0.2", "11", "21"}, {"0.3", "12", "22"},
                               {"", "", ""}, {"0.5", "14", "24"}});
    const QList<QByteArray> lines = datafile::compose("d", "0.018", "0.3", withGap).split('\n');
    EXPECT_EQ(lines.size(), 6); // 2 records, 3 readings, nothing after the last CRLF
    EXPECT_EQ(datafile::compose("d", "0.018", "0.3", rows({{"0.1", "x1", "2"}})), head);
    EXPECT_EQ(datafile::compose("d", "0.018", "0.3", rows({{"-0.1", "1", "2"}})),
              head + "-0.10000 1.00000 2.00000\r\n");
}

TEST(DataFileCompose, DescriptionIsStoredInLatin1)
{
    const QByteArray b = datafile::compose(QString::fromUtf8("Río Záncara"), "1", "1", {});
    EXPECT_TRUE(b.startsWith("R\xEDo Z\xE1ncara\r\n"));
    EXPECT_EQ(datafile::parse(b).description, QString::fromUtf8("Río Záncara"));
}

TEST(DataFileWrite, ReplacesTheFileAndRefusesBadTargets)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pd");
    ASSERT_TRUE(datafile::write(path, "old\r\n"));
    ASSERT_TRUE(datafile::write(path, "new\r\n"));
    EXPECT_EQ(slurp(path), "new\r\n");
    EXPECT_FALSE(datafile::write(dir.filePath("missing/a.pd"), "x"));
    EXPECT_FALSE(datafile::write(dir.path(), "x"));
    EXPECT_FALSE(datafile::write("", "x"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.pd"}); // no temporary left
}

TEST(DataFileWrite, AFailureWhileWritingLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pd");
    const QByteArray old = "old data set\r\n0.01800 , 0.30000\r\n";
    ASSERT_TRUE(datafile::write(path, old));

    // Let the process write at most 1000 bytes into any file, as a full disk
    // would; this holds for root too.
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
    EXPECT_EQ(slurp(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.pd"});
}

TEST(DataFileParse, RecordsOneAndTwoAsText)
{
    const auto d = datafile::parse("V.Arezo, Input data\r\n0.01800 , 0.30000\r\n");
    EXPECT_TRUE(d.opened);
    EXPECT_EQ(d.description, "V.Arezo, Input data");
    EXPECT_EQ(d.ri, "0.01800");
    EXPECT_EQ(d.h0, "0.30000");
    EXPECT_TRUE(d.readings.isEmpty());
    EXPECT_EQ(datafile::parse("x\n0.018,0.3\n").h0, "0.3");
    EXPECT_EQ(datafile::parse("x\n0.018 0.3").ri, "0.018");
    const auto empty = datafile::parse("");
    EXPECT_TRUE(empty.opened);
    EXPECT_FALSE(empty.hasDescription);
    const auto onlyDesc = datafile::parse("desc\r\n");
    EXPECT_TRUE(onlyDesc.hasDescription);
    EXPECT_FALSE(onlyDesc.hasPipe);
}

TEST(DataFileParse, ReadingsThreeAtATimeAcrossBlanksCommasAndLines)
{
    const auto d = datafile::parse("d\r\n1 , 2\r\n0.25 120 600\r\n0.2,90\r\n\r\n500 1.5E-3 1D2 3\r\n");
    ASSERT_EQ(d.readings.size(), 3);
    EXPECT_EQ(d.readings[0], (datafile::Row{"0.250", "120.0", "600.0"}));
    EXPECT_EQ(d.readings[1], (datafile::Row{"0.200", "90.0", "500.0"}));
    EXPECT_EQ(d.readings[2], (datafile::Row{"0.002", "100.0", "3.0"}));
}

TEST(DataFileParse, StopRules)
{
    const QByteArray head = "d\r\n1 , 2\r\n";
    // A reading whose product is 0 or below is shown and ends the list.
    auto d = datafile::parse(head + "1 1 1\r\n0 0 0\r\n2 2 2\r\n");
    ASSERT_EQ(d.readings.size(), 2);
    EXPECT_EQ(d.readings[1], (datafile::Row{"0.000", "0.0", "0.0"}));
    d = datafile::parse(head + "-0.1 10 20\r\n2 2 2\r\n");
    ASSERT_EQ(d.readings.size(), 1);
    EXPECT_EQ(d.readings[0][0], "-0.100");
    // End of file within a reading: the incomplete one is dropped.
    EXPECT_EQ(datafile::parse(head + "1 1 1\r\n2 2\r\n").readings.size(), 1);
    // A value that is not a number ends the loading; earlier rows stay.
    EXPECT_EQ(datafile::parse(head + "1 1 1\r\n2 abc 2\r\n3 3 3\r\n").readings.size(), 1);
    // Single-precision product: 1e-30 cubed is 0 there.
    EXPECT_EQ(datafile::parse(head + "1e-30 1e-30 1e-30\r\n2 2 2\r\n").readings.size(), 1);
}

TEST(DataFileParse, AtMostOneHundredReadings)
{
    QByteArray b = "d\r\n1 , 2\r\n";
    for (int i = 1; i <= 120; ++i)
        b += QByteArray::number(i) + " 10 20\r\n";
    const auto d = datafile::parse(b);
    ASSERT_EQ(d.readings.size(), 100);
    EXPECT_EQ(d.readings[99][0], "100.000");
}

TEST(DataFileRoundTrip, WhatIsWrittenReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.pd");
    QList<datafile::Row> grid;
    for (int i = 1; i <= 100; ++i)
        grid.append({QString::number(i * 0.001), QString::number(i), QString::number(2 * i)});
    ASSERT_TRUE(datafile::write(path, datafile::compose("round trip", "0.018", "0.3", grid)));
    const auto d = datafile::read(path);
    EXPECT_TRUE(d.opened);
    EXPECT_EQ(d.description, "round trip");
    EXPECT_EQ(d.ri, "0.01800");
    ASSERT_EQ(d.readings.size(), 100);
    EXPECT_EQ(d.readings[99], (datafile::Row{"0.100", "100.0", "200.0"}));
    EXPECT_FALSE(datafile::read(dir.filePath("none.pd")).opened);
}
