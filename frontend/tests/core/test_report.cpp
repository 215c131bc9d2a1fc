#include "report.h"
#include "test_support.h"

#include <QProcess>

#include <cmath>
#include <limits>

using namespace veldesk;

using namespace report;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

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

TEST(Report, AFileNamedAsTheReportIsKnownInAnyCaseAndFolder)
{
    for (const char* named : {"pd.out", "PD.OUT", "/d/pd.out", "C:\\ZEDAT\\Pd.Out", "/d/pd.x\\pd.out"})
        EXPECT_TRUE(hasReportName(named)) << named;
    for (const char* other : {"pd.pd", "/d/pd.out.out", "/d/xpd.out", "/pd.out/site.pd", "pd.ou", ""})
        EXPECT_FALSE(hasReportName(other)) << other;
}

TEST(Report, CutsRowsAtTheEnginesColumns)
{
    const ReportRow r1 = cutRow(kRow1);
    ASSERT_TRUE(r1.isReading());
    EXPECT_EQ(r1.point, 1);
    EXPECT_EQ(r1.fields, (std::array<QString, kFieldCount>{"     1", "  0.2000", "    300.", "   1200.", " 180.00",
                                                            "   5.66", "   4.50", "   5.92", "   ", "0.4073E-04",
                                                            " 0.0140"}));
    EXPECT_FALSE(r1.wMarked());
    // Ks and a Psi_m that fills its 7 columns touch; the W mark is the middle
    // of its 3 columns.
    const ReportRow r2 = cutRow(kRow2);
    EXPECT_TRUE(r2.wMarked());
    EXPECT_EQ(r2.fields[Ks], "0.8684E-06");
    EXPECT_EQ(r2.fields[PsiM], "13.0008");
    // A Δθ that fills its 8 columns touches the reading number.
    const ReportRow wide = cutRow("     2150.0000    300.   1200.   0.24   1.07   1.04   1.41   0.1353E-06 1.9352");
    EXPECT_EQ(wide.point, 2);
    EXPECT_DOUBLE_EQ(wide.value(DTheta), 150.0);

    // The reading number: a 16-bit whole number, or the line is no reading.
    EXPECT_EQ(pointNumber("  1000 "), 1000);
    EXPECT_FALSE(pointNumber("  32768"));
    EXPECT_FALSE(pointNumber("      "));
    EXPECT_FALSE(pointNumber("******"));
    EXPECT_FALSE(cutRow("").isReading());
    EXPECT_FALSE(cutRow("garbage").isReading());
    EXPECT_FALSE(cutRow("     0" + kRow1.mid(6)).isReading());
}

// Every spelling of a number the engine's writing layer produces.
TEST(Report, FieldValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double value; // NaN: unreadable
    } cases[] = {
        {"  0.2000", 0.2},        {"    300.", 300},        {"-10.0000", -10},       {" -0.5000", -0.5},
        {"-.5000", -0.5},         {"0.4073E-04", 4.073e-5}, {"-.4073E-04", -4.073e-5}, {"0.0000E+00", 0},
        {"0.1234-100", 1.234e-101}, {"0.9999+120", 9.999e119}, {"-.1234-100", -1.234e-101},
        {"     NaN", kNaN},      {"Infinity", inf},        {"-Infinity", -inf},     {"    Inf", inf},
        {"   -Inf", -inf},         {"********", kNaN},     {"*******", kNaN},       {"", kNaN},
        {"   ", kNaN},             {"1.2.3", kNaN},          {"0.12-", kNaN},         {"0.12-1a", kNaN},
    };
    for (const auto& c : cases) {
        const double v = fieldValue(c.text);
        if (std::isnan(c.value))
            EXPECT_TRUE(std::isnan(v)) << c.text << " = " << v;
        else
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
}

TEST(Report, ParsesEveryLineOfTheTable)
{
    const ParsedReport ok = parseReport(reportLines({kRow1, kRow2}));
    EXPECT_TRUE(ok.complete);
    EXPECT_TRUE(ok.tableBegun);
    EXPECT_EQ(ok.header, QStringList({"Processed file:/d/set.pd", " Description:  V.Arezo", " Pipe dimensions used"}));
    EXPECT_EQ(ok.rows.size(), 2);

    // A line that is not a reading stays in its place; the lines after it are
    // read on.
    const ParsedReport odd = parseReport(reportLines({kRow1, "garbage", kRow2}));
    EXPECT_TRUE(odd.complete);
    ASSERT_EQ(odd.rows.size(), 3);
    EXPECT_FALSE(odd.rows[1].isReading());
    EXPECT_TRUE(odd.rows[2].wMarked());

    const ParsedReport cut = parseReport(reportLines({kRow1}).mid(0, 24));
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(cut.rows.size(), 1);
    const ParsedReport header = parseReport(reportLines({}).mid(0, 20));
    EXPECT_FALSE(header.tableBegun);
    EXPECT_EQ(header.header.size(), 3);
}

// What the results window shows of a table: up to the first line that is not
// a reading, kept as an empty row; 0 ends quietly, anything else with the error.
TEST(Report, ResultsGridStopRules)
{
    QString zero = kRow1, negative = kRow1;
    zero.replace(5, 1, "0");
    negative.replace(4, 2, "-1");
    const struct {
        QStringList rows;
        int lines; // of the report, -1: all
        int maxRows;
        int filled;
        bool stopRow, error;
    } cases[] = {
        {{kRow1, kRow2}, -1, 999, 2, false, false},
        {{kRow1, zero, kRow2}, -1, 999, 1, true, false},
        {{kRow1, negative, kRow2}, -1, 999, 1, true, true},
        {{kRow1, "garbage", kRow2}, -1, 999, 1, true, true},
        {{kRow1}, 24, 999, 1, false, true},         // ends before the footer
        {{kRow1, kRow1, kRow1}, -1, 2, 2, false, true}, // more readings than grid rows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows.join('|').toStdString());
        const QStringList all = reportLines(c.rows);
        const GridLoad g = gridLoad(parseReport(c.lines < 0 ? all : all.mid(0, c.lines)), c.maxRows);
        EXPECT_EQ(g.filled, c.filled);
        EXPECT_EQ(g.stopRow, c.stopRow);
        EXPECT_EQ(g.error, c.error);
    }
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

// Rows written by the real engine with every field at its widest and beyond:
// each is read at the engine's columns, and a field that overflowed leaves its
// reading in place with that one value unknown.
TEST(Report, RowsOfTheRealEngineAtTheirWidest)
{
    QTemporaryDir dir;
    const struct {
        const char* line;
        double dtheta, tHalf, tFin; // NaN: printed as "*"
    } cases[] = {
        {"0.2 300 1200", 0.2, 300, 1200},
        {"150 300 1200", 150, 300, 1200},          // Δθ fills its 8 columns
        {"999.9999 300 1200", 999.9999, 300, 1200}, // the widest Δθ that fits
        {"-10 300 1200", -10, 300, 1200},          // a negative one that fills them
        {"1000 300 1200", kNaN, 300, 1200},        // too wide: "********"
        {"-100 300 1200", kNaN, 300, 1200},
        {"0.2 9999999 29999997", 0.2, 9999999, kNaN}, // the widest time, and one beyond
        {"0.2 10000000 30000000", 0.2, kNaN, kNaN},
        {"0.2 300 600", 0.2, 300, 600}, // W-marked, Psi_m fills its 7 columns
    };
    QByteArray set = "Widest\r\n0.05000 , 0.30000\r\n";
    for (const auto& c : cases)
        set += QByteArray(c.line) + "\r\n";
    writeFile(dir.filePath("w.pd"), set);
    QProcess engine;
    engine.setWorkingDirectory(dir.path());
    engine.start(builtProgram(VELPRA_EXE), {"w.pd"});
    ASSERT_TRUE(engine.waitForFinished(30000));
    ASSERT_EQ(engine.exitCode(), 0) << engine.readAllStandardError().toStdString();

    QStringList lines;
    ASSERT_TRUE(readLines(dir.filePath("pd.out"), &lines));
    const ParsedReport parsed = parseReport(lines);
    ASSERT_TRUE(parsed.complete);
    ASSERT_EQ(parsed.rows.size(), std::size(cases));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const auto& c = cases[i];
        const ReportRow& row = parsed.rows[i];
        SCOPED_TRACE(lines[23 + i].toStdString());
        EXPECT_EQ(lines[23 + i].size(), kRowWidth);
        EXPECT_EQ(row.point, i + 1);
        const std::pair<Field, double> expected[] = {{DTheta, c.dtheta}, {THalf, c.tHalf}, {TFin, c.tFin}};
        for (const auto& [f, v] : expected) {
            if (std::isnan(v)) {
                EXPECT_EQ(row.fields[f], QString(kColumns[f].width, '*'));
                EXPECT_TRUE(std::isnan(row.value(f)));
            } else {
                EXPECT_NEAR(row.value(f), v, std::abs(v) * 1e-7 + 5e-5);
            }
        }
        EXPECT_EQ(row.wMarked(), i == 8);
    }
    EXPECT_EQ(parsed.rows[8].fields[PsiM], "13.0008");
    EXPECT_EQ(parsed.rows[8].fields[Ks], "0.8684E-06");
    EXPECT_EQ(gridLoad(parsed, kResultsGridReadings).filled, int(std::size(cases)));
}

// Windows forms of a data set's place: drive letters, network shares and
// either separator, as typed into the file-name box or given on the command
// line. The report is looked for in the data set's own folder.
TEST(Report, ReportPathForWindowsFormsOfAPath)
{
    const std::pair<QString, QString> cases[] = {
        {"D:\\field data\\2026\\site 4.pd", "D:\\field data\\2026\\pd.out"},
        {"\\\\server\\share\\site.pd", "\\\\server\\share\\pd.out"},
        {"//server/share/plots/site.pd", "//server/share/plots/pd.out"},
        {"C:/ZEDAT\\mixed/site.pd", "C:/ZEDAT\\mixed/pd.out"},
        {"C:\\site.pd", "C:\\pd.out"},
        {"C:\\field data\\sitio ñ é.pd", "C:\\field data\\pd.out"},
    };
    for (const auto& [dataSet, report] : cases)
        EXPECT_EQ(reportPathFor(dataSet), report) << dataSet.toStdString();
    EXPECT_EQ(directoryPart("\\\\server\\share\\site.pd"), "\\\\server\\share\\");
}
