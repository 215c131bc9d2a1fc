#include "report.h"
#include "test_support.h"

using namespace veldesk;

using namespace report;

TEST(Report, PathsOfTheReportAndTheResultsCopy)
{
    EXPECT_EQ(reportPathFor("/home/x/a.pd"), "/home/x/pd.out");
    EXPECT_EQ(reportPathFor("C:\\ZEDAT\\test.pd"), "C:\\ZEDAT\\pd.out");
    EXPECT_EQ(reportPathFor("data.pd"), "pd.out");
    EXPECT_EQ(resultsCopyPathFor("C:\\ZEDAT\\test.1.pd"), "C:\\ZEDAT\\test.1.out");
    // Only the file name has an extension; a name without one gets ".out".
    EXPECT_EQ(resultsCopyPathFor("camp.2024/plot7"), "camp.2024/plot7.out");
    EXPECT_EQ(resultsCopyPathFor("C:\\camp.2024\\plot7"), "C:\\camp.2024\\plot7.out");
    EXPECT_EQ(resultsCopyPathFor("/home/x.y/data.v2.pd"), "/home/x.y/data.v2.out");
    EXPECT_EQ(resultsCopyPathFor("/home/x/.plot"), "/home/x/.plot.out");
    EXPECT_EQ(resultsCopyPathFor("data"), "data.out");
    EXPECT_EQ(resultsCopyPathFor("data."), "data.out");
}

// The results copy never replaces the data set it comes from nor is the
// engine's report, which the next evaluation in that folder deletes.
TEST(Report, TheResultsCopyIsNeitherTheDataSetNorTheReport)
{
    const std::pair<const char*, const char*> cases[] = {
        {"site.out", "site.out.out"},       {"/home/x/Site.OUT", "/home/x/Site.OUT.out"},
        {"pd.pd", "pd.pd.out"},             {"C:\\ZEDAT\\PD.pd", "C:\\ZEDAT\\PD.pd.out"},
        {"/d/pd", "/d/pd.out.out"},         {"/d/pd.out", "/d/pd.out.out"},
        {"/d/pd.x/data.pd", "/d/pd.x/data.out"}, {"/d/pdf.pd", "/d/pdf.out"},
    };
    for (const auto& [dataSet, copy] : cases) {
        EXPECT_EQ(resultsCopyPathFor(dataSet), copy) << dataSet;
        EXPECT_NE(resultsCopyPathFor(dataSet).compare(dataSet, Qt::CaseInsensitive), 0) << dataSet;
        EXPECT_NE(resultsCopyPathFor(dataSet).compare(reportPathFor(dataSet), Qt::CaseInsensitive), 0) << dataSet;
    }
}

TEST(Report, CutsTheSampleRowsAtTheirFixedPositions)
{
    const auto r1 = cutRow(kRow1);
    ASSERT_TRUE(r1);
    EXPECT_EQ(r1->point, 1);
    EXPECT_EQ(r1->cells, (std::array<QString, 10>{" 0.2000", "    300.", "   1200.", " 180.00", "   5.66",
                                                  "   4.50", "   5.92 ", " 0.4073E-04", " 0.0140", " "}));
    EXPECT_EQ(cutRow(kRow2)->cells[9], "*");
    // The point number: a 16-bit whole number, or a failure.
    EXPECT_EQ(pointNumber("  1000 "), 1000);
    EXPECT_FALSE(pointNumber("  32768"));
    EXPECT_FALSE(pointNumber("       "));
    EXPECT_FALSE(pointNumber("  ***  "));
}

TEST(Report, StopRules)
{
    QString zero = kRow1, negative = kRow1;
    zero.replace(5, 1, "0");
    negative.replace(4, 2, "-1");

    const ParsedReport ok = parseReport(reportLines({kRow1, kRow2}));
    EXPECT_FALSE(ok.error);
    EXPECT_EQ(ok.header, QStringList({"Processed file:/d/set.pd", " Description:  V.Arezo", " Pipe dimensions used"}));
    EXPECT_EQ(ok.rows.size(), 2);

    // 0 ends the table quietly, below 0 or no number with the error; the row
    // that stopped it is kept, empty.
    for (const QString& stop : {zero, negative, QString("garbage")}) {
        const ParsedReport p = parseReport(reportLines({kRow1, stop, kRow2}));
        EXPECT_EQ(p.error, stop != zero) << stop.toStdString();
        ASSERT_EQ(p.rows.size(), 2);
        EXPECT_FALSE(p.rows[1].filled);
    }
    // Ending before the footer, or more readings than rows: an error, no empty row.
    const ParsedReport cut = parseReport(reportLines({kRow1}).mid(0, 24));
    EXPECT_TRUE(cut.error);
    EXPECT_EQ(cut.rows.size(), 1);
    const ParsedReport full = parseReport(reportLines({kRow1, kRow1, kRow1}), 2);
    EXPECT_TRUE(full.error);
    EXPECT_EQ(full.rows.size(), 2);
}

TEST(Report, CopiarWritesCrLfAndNeverDestroysItsSource)
{
    QTemporaryDir dir;
    const QString src = dir.filePath("pd.out"), dst = dir.filePath("copy.out");
    writeFile(src, "one\r\ntwo\nlast");
    ASSERT_TRUE(copiar(src, dst));
    EXPECT_EQ(readFile(dst), "one\r\ntwo\r\nlast\r\n");

    EXPECT_TRUE(copiar(src, dir.path() + "/./pd.out")); // onto itself
    EXPECT_EQ(readFile(src), "one\r\ntwo\nlast");

    QString why;
    EXPECT_FALSE(copiar(src, dir.filePath("no/dir/x.out"), &why));
    EXPECT_TRUE(why.contains("x.out"));
    EXPECT_FALSE(copiar(dir.filePath("none"), dst));
    EXPECT_EQ(readFile(dst), "one\r\ntwo\r\nlast\r\n");
}

// The engine copies the bytes it was given: a UTF-8 path (cut at its width)
// beside a Windows-1252 description.
TEST(Report, LinesReadBackInTheirOwnEncoding)
{
    QTemporaryDir dir;
    const QString src = dir.filePath("pd.out");
    writeFile(src, "Processed file:/d/A\xC3\xB1o 2024/pl\xC3\r\n Description:  Caf\xE9 \x93" "B\x94 \r\nplain\r\n");
    QStringList lines;
    QString why;
    ASSERT_TRUE(readLines(src, &lines, &why));
    EXPECT_EQ(lines, QStringList({QString::fromUtf8("Processed file:/d/Año 2024/pl"),
                                   QString::fromUtf8(" Description:  Café “B” "), "plain"}));
}
