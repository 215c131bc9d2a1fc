#include "report.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report;

namespace {

const QString kRow1 = QStringLiteral(
    "     1  0.2000    300.   1200. 180.00   5.66   4.50   5.92   0.4073E-04 0.0140");
const QString kRow2 = QStringLiteral(
    "     2  0.2000    300.    600. 180.00   5.66   4.50  20.00 * 0.8684E-0613.0008");
const QString kRule = QString(79, QChar('-'));

// A report as the engine lays it out, with the given table rows.
QStringList reportWith(const QStringList& rows, bool footer = true)
{
    QStringList lines;
    for (int i = 0; i < 16; ++i)
        lines << QStringLiteral(" banner %1").arg(i + 1);
    lines << QStringLiteral("Processed file:/data/a.pd") << QStringLiteral(" Description:  V.Arezo")
          << QStringLiteral(" Pipe dimensions used: ri= 0.0500 m; h0=   0.30 m") << QString()
          << QStringLiteral("Point #  dtheta ...") << QStringLiteral("        (cm3/cm3) ...") << kRule;
    lines << rows;
    if (footer)
        lines << kRule << QStringLiteral("W=*, warning, root found outside domain") << QString();
    return lines;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

TEST(ReportPaths, ReportBesideTheDataSetAndResultsCopyByLastDot)
{
    EXPECT_EQ(reportPathFor("/home/x/a.pd"), "/home/x/pd.out");
    EXPECT_EQ(reportPathFor("C:\\ZEDAT\\test.pd"), "C:\\ZEDAT\\pd.out");
    EXPECT_EQ(reportPathFor("C:\\ZEDAT/sub\\t.pd"), "C:\\ZEDAT/sub\\pd.out");
    EXPECT_EQ(reportPathFor("data.pd"), "pd.out");
    EXPECT_EQ(reportPathFor(""), "pd.out");

    EXPECT_EQ(resultsCopyPathFor("C:\\ZEDAT\\test.1.pd"), "C:\\ZEDAT\\test.1.out");
    EXPECT_EQ(resultsCopyPathFor("C:\\ZEDAT\\data.pd"), "C:\\ZEDAT\\data.out");
    // The last "." of the whole path counts, also one in a directory name.
    EXPECT_EQ(resultsCopyPathFor("/home/x.y/data"), "/home/x.out");
    EXPECT_EQ(resultsCopyPathFor("data"), "out");
    // A data set named like the report has the report as its results copy.
    EXPECT_EQ(resultsCopyPathFor("/d/pd.pd"), reportPathFor("/d/pd.pd"));
}

TEST(ReportRows, CutsBothSampleRowsAtTheirFixedPositions)
{
    const auto r1 = cutRow(kRow1);
    ASSERT_TRUE(r1);
    EXPECT_EQ(r1->point, 1);
    const std::array<QString, 10> want1 = {" 0.2000", "    300.", "   1200.", " 180.00", "   5.66",
                                           "   4.50", "   5.92 ", " 0.4073E-04", " 0.0140", " "};
    EXPECT_EQ(r1->cells, want1);

    const auto r2 = cutRow(kRow2);
    ASSERT_TRUE(r2);
    EXPECT_EQ(r2->point, 2);
    const std::array<QString, 10> want2 = {" 0.2000", "    300.", "    600.", " 180.00", "   5.66",
                                           "   4.50", "  20.00 ", " 0.8684E-06", "13.0008", "*"};
    EXPECT_EQ(r2->cells, want2);
}

TEST(ReportRows, PointNumberMustBeASixteenBitWholeNumber)
{
    EXPECT_EQ(pointNumber("  1000 "), 1000);
    EXPECT_EQ(pointNumber("     -3"), -3);
    EXPECT_EQ(pointNumber("  2.5"), 2); // ties to even
    EXPECT_EQ(pointNumber("  32767"), 32767);
    EXPECT_FALSE(pointNumber("  32768"));
    EXPECT_FALSE(pointNumber("       "));
    EXPECT_FALSE(pointNumber("  ***  "));
    EXPECT_FALSE(pointNumber("    nan"));
    EXPECT_FALSE(cutRow(QStringLiteral("W=*, warning")));
    // A short line still cuts: the missing fields are empty.
    const auto shortRow = cutRow(QStringLiteral("     7  0.1"));
    ASSERT_TRUE(shortRow);
    EXPECT_EQ(shortRow->cells[0], " 0.1");
    EXPECT_EQ(shortRow->cells[8], "");
    EXPECT_EQ(shortRow->cells[9], "");
}

TEST(ReportParsing, TakesHeaderLinesAndRowsUpToTheFooter)
{
    const ParsedReport p = parseReport(reportWith({kRow1, kRow2}));
    EXPECT_FALSE(p.error);
    EXPECT_EQ(p.header, QStringList({"Processed file:/data/a.pd", " Description:  V.Arezo",
                                     " Pipe dimensions used: ri= 0.0500 m; h0=   0.30 m"}));
    ASSERT_EQ(p.rows.size(), 2);
    EXPECT_EQ(p.rows[1].cells[9], "*");

    const ParsedReport none = parseReport(reportWith({}));
    EXPECT_FALSE(none.error);
    EXPECT_EQ(none.header.size(), 3);
    EXPECT_TRUE(none.rows.isEmpty());
}

TEST(ReportParsing, StopRules)
{
    QString zero = kRow1;
    zero.replace(5, 1, "0");
    QString negative = kRow1;
    negative.replace(4, 2, "-1");
    QString garbage = kRow1;
    garbage.replace(0, 7, "  abc  ");

    // Point number 0: the table ends quietly, with the row added empty.
    const ParsedReport z = parseReport(reportWith({kRow1, zero, kRow2}));
    EXPECT_FALSE(z.error);
    ASSERT_EQ(z.rows.size(), 2);
    EXPECT_FALSE(z.rows[1].filled);
    EXPECT_EQ(z.rows[1].cells[0], "");

    // Below 0 or not a number: the same, with the error.
    for (const QString& bad : {negative, garbage}) {
        const ParsedReport p = parseReport(reportWith({kRow1, bad, kRow2}));
        EXPECT_TRUE(p.error) << bad.toStdString();
        ASSERT_EQ(p.rows.size(), 2);
        EXPECT_FALSE(p.rows[1].filled);
    }

    // The report ends before its footer: rows so far, the error, no empty row.
    const ParsedReport cut = parseReport(reportWith({kRow1}, false));
    EXPECT_TRUE(cut.error);
    EXPECT_EQ(cut.rows.size(), 1);

    // Ends within the header lines: the lines read so far.
    const ParsedReport early = parseReport(reportWith({}).mid(0, 17));
    EXPECT_TRUE(early.error);
    EXPECT_EQ(early.header.size(), 1);
    EXPECT_TRUE(parseReport({}).header.isEmpty());

    // More readings than grid rows: the first maxRows, then the error.
    const ParsedReport full = parseReport(reportWith({kRow1, kRow1, kRow1}), 2);
    EXPECT_TRUE(full.error);
    EXPECT_EQ(full.rows.size(), 2);
    EXPECT_FALSE(parseReport(reportWith({kRow1, kRow1}), 2).error);
}

TEST(ReportFiles, LinesSplitAtAnyLineEnd)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("r.txt");
    write(p, "a\r\nb\nc\rd\r\n\r\n\xe9");
    EXPECT_EQ(readLines(p), QStringList({"a", "b", "c", "d", "", QString(QChar(0xe9))}));
    EXPECT_FALSE(readLines(dir.filePath("missing")));
}

TEST(ReportFiles, CopiarWritesCrLfAndNeverDestroysItsSource)
{
    QTemporaryDir dir;
    const QString src = dir.filePath("pd.out");
    const QByteArray original("one\r\ntwo\nlast without end");
    write(src, original);

    const QString dst = dir.filePath("copy.out");
    write(dst, "an older and much longer results copy\r\n\r\n\r\n");
    ASSERT_TRUE(copiar(src, dst));
    EXPECT_EQ(readAll(dst), QByteArray("one\r\ntwo\r\nlast without end\r\n"));

    // Onto itself, also under another spelling of the same path.
    EXPECT_TRUE(copiar(src, src));
    EXPECT_TRUE(copiar(src, dir.path() + "/./" + "pd.out"));
    EXPECT_EQ(readAll(src), original);

    // A missing source or an unwritable destination fails, reports why and
    // leaves the destination as it was.
    QString why;
    EXPECT_FALSE(copiar(dir.filePath("none.out"), dst, &why));
    EXPECT_TRUE(why.contains("none.out"));
    EXPECT_FALSE(copiar(src, dir.filePath("no/such/dir/x.out"), &why));
    EXPECT_TRUE(why.contains("x.out"));
    EXPECT_EQ(readAll(dst), QByteArray("one\r\ntwo\r\nlast without end\r\n"));
}
