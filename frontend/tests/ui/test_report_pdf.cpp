// The printed report as a PDF, read back with pdftotext: every line of the
// engine's report on the pages, every field in the column the engine put it
// in, the design value on page 1, and the data set's name and the page number
// on every page.
#include "report.h"
#include "reportprinter.h"
#include "sitereport.h"
#include "test_support.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>
#include <map>

using namespace veldesk;

namespace {

// A report written by the real engine for n readings, its lines without ends.
QStringList engineReport(const QString& dir, int n)
{
    QByteArray data = "Orchard-plot-A\r\n0.01800 , 0.30000\r\n";
    for (int i = 0; i < n; ++i)
        data += QByteArray::number(0.15 + 0.0001 * (i % 900), 'f', 5) + " " + QByteArray::number(30 + i % 50) + ".0 "
                + QByteArray::number(110 + (i * 7) % 300) + ".0\r\n";
    writeFile(dir + "/orchard.pd", data);
    QProcess engine;
    engine.setWorkingDirectory(dir);
    engine.start(builtProgram(VELPRA_EXE), {"orchard.pd"});
    engine.waitForFinished(60000);
    QStringList lines;
    report::readLines(dir + "/pd.out", &lines);
    return lines;
}

struct Word {
    double x0, x1, y;
    QString text;
};

// The words of each page with their boxes, in points, as pdftotext finds them.
QList<QList<Word>> pdfWords(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"});
    p.waitForFinished(60000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<QList<Word>> pages;
    for (const QString& page : html.split(QStringLiteral("<page ")).mid(1)) {
        pages.append(QList<Word>());
        for (auto it = word.globalMatch(page); it.hasNext();) {
            const auto m = it.next();
            QString text = m.captured(4);
            text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
            pages.back().append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), text});
        }
    }
    return pages;
}

// The page's lines top to bottom, rebuilt from the words: each word is put at
// the column its left edge stands in, counted in character widths from the
// left margin. With a proportional face only the words' order is kept.
QStringList lines(const QList<Word>& words, double left, double charWidth)
{
    std::map<long, QList<Word>> rows; // by baseline, to a tenth of a point
    for (const Word& w : words)
        rows[std::lround(w.y * 10)].append(w);
    QStringList out;
    for (auto& [y, row] : rows) {
        std::sort(row.begin(), row.end(), [](const Word& a, const Word& b) { return a.x0 < b.x0; });
        QString line;
        for (const Word& w : row) {
            const int column = charWidth > 0 ? int(std::lround((w.x0 - left) / charWidth)) : int(line.size()) + 1;
            line = line.leftJustified(std::max<qsizetype>(column, line.isEmpty() ? 0 : line.size() + 1), ' ');
            line += w.text;
        }
        out << line;
    }
    return out;
}

} // namespace

TEST(ReportPdf, HoldsEveryReportLineInItsColumnsAndTheDesignValue)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir tmp;
    for (int n : {12, 1000}) {
        const QStringList report = engineReport(tmp.path(), n);
        ASSERT_EQ(report.size(), 26 + n) << "the engine's report";
        const QString pdf = tmp.filePath(QStringLiteral("site%1.pdf").arg(n));
        sitestats::Options options;
        options.rule = sitestats::Rule::Median;
        options.safetyFactor = 2;
        options.ksUnit = units::Ks::MillimetrePerHour;
        if (n == 12) {
            // The console program, on a machine without a display.
            QProcess velstat;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                env.remove(name);
            velstat.setProcessEnvironment(env);
            velstat.start(builtProgram(VELSTAT_EXE), {"--pdf", pdf, "--unit", "mm/h", "--rule", "median", "--safety-factor", "2",
                                        tmp.filePath("pd.out")});
            ASSERT_TRUE(velstat.waitForFinished(60000));
            ASSERT_EQ(velstat.exitCode(), 0) << velstat.readAllStandardError().toStdString();
        } else {
            QString error;
            ASSERT_TRUE(sitereport::writeSitePdf(tmp.filePath("pd.out"), options, pdf, &error)) << error.toStdString();
        }
        QList<sitestats::Reading> readings;
        ASSERT_TRUE(sitestats::loadReport(tmp.filePath("pd.out"), &readings));
        const auto analysis = sitestats::analyse(readings, options);
        const QString design = sitereport::printed(units::fromSI(analysis.designValue, options.ksUnit), "mm/h");
        ASSERT_NE(design, "undefined");
        const QList<QList<Word>> pages = pdfWords(pdf);
        ASSERT_GE(pages.size(), n == 1000 ? 10 : 2);

        // Every page: the data set's name at the top left, which also marks
        // the left margin, and "Page i of m" at the bottom.
        for (int i = 0; i < pages.size(); ++i) {
            ASSERT_FALSE(pages[i].isEmpty());
            EXPECT_EQ(pages[i].front().text, "orchard.pd") << "page " << i + 1;
            const QStringList text = lines(pages[i], 0, 0);
            EXPECT_EQ(text.back().trimmed(), QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages.size()));
        }
        const QString first = lines(pages[0], 0, 0).join('\n');
        for (const QString& expected :
             {"Design value: " + design, QString("Rule: median, divided by a safety factor of 2; Ks in mm/h, Psi_m in m"),
              "Programs: VELPRA v0.3 (engine), VELDESK " + reportprinter::frontEndVersion() + " (front end)",
              QString("Description: Orchard-plot-A"), QString("Pipe dimensions used: ri= 0.0180 m; h0= 0.30 m"),
              QString("Ks GM 95 % confidence, low"),      // searchable: no "fi" ligature
              QString("Readings in the report %1").arg(n)}) // no digit grouping
            EXPECT_TRUE(first.contains(expected)) << expected.toStdString() << "\n" << first.toStdString();

        // The report pages, their running header and footer taken off, give
        // back the report's lines that hold any text, in order, each with its
        // fields in the engine's columns.
        QStringList printed;
        for (int i = 1; i < pages.size(); ++i) {
            const double left = pages[i].front().x0;
            double charWidth = 0;
            for (const Word& w : pages[i])
                if (w.text.size() >= 10 && w.text.count('-') == w.text.size()) // a rule line
                    charWidth = (w.x1 - w.x0) / w.text.size();
            if (charWidth == 0) // a page of rows only: a Ks field, 10 characters
                for (const Word& w : pages[i])
                    if (w.text.contains('E') && w.text.size() == 10)
                        charWidth = (w.x1 - w.x0) / 10;
            ASSERT_GT(charWidth, 0) << "page " << i + 1;
            const QStringList page = lines(pages[i], left, charWidth);
            printed << page.mid(1, page.size() - 2);
        }
        QStringList expected;
        for (QString line : report)
            if (!line.trimmed().isEmpty()) {
                while (line.endsWith(' '))
                    line.chop(1);
                expected << line;
            }
        ASSERT_EQ(printed.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            ASSERT_EQ(printed[i], expected[i]) << "report line with text #" << i + 1;
        if (!qEnvironmentVariableIsEmpty("VELDESK_KEEP_PDF"))
            QFile::copy(pdf, qEnvironmentVariable("VELDESK_KEEP_PDF") + QStringLiteral("/site%1.pdf").arg(n));
    }
}

// A PDF that cannot be written whole (a full disk, here a file size limit)
// is not committed: the older PDF of that name stays as it was, and no
// temporary is left beside it.
TEST(ReportPdf, AFailedExportLeavesTheOldPdfWhole)
{
    QTemporaryDir tmp;
    writeFile(tmp.filePath("pd.out"), reportOf({kRow1, kRow2}));
    const QString pdf = tmp.filePath("site.pdf");
    writeFile(pdf, "old PDF");
    QString error;
    const bool ok =
        underFileSizeLimit(3000, [&] { return sitereport::writeSitePdf(tmp.filePath("pd.out"), {}, pdf, &error); });

    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.startsWith("cannot write the PDF file " + QFileInfo(pdf).absoluteFilePath() + ": "))
        << error.toStdString();
    EXPECT_EQ(readFile(pdf), "old PDF");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList({"pd.out", "site.pdf"}));
    // Without the limit the same export succeeds.
    ASSERT_TRUE(sitereport::writeSitePdf(tmp.filePath("pd.out"), {}, pdf, &error)) << error.toStdString();
    EXPECT_TRUE(readFile(pdf).startsWith("%PDF-"));
    EXPECT_TRUE(readFile(pdf).trimmed().endsWith("%%EOF"));
}

namespace {

// A report of n readings whose Ks spread over a decade, as the engine prints
// them: the worked example's row with its point and Ks field replaced.
QStringList spreadReport(int n)
{
    QStringList rows;
    const qsizetype ksAt = kRow1.indexOf("0.4073E-04");
    for (int i = 1; i <= n; ++i) {
        QString row = kRow1;
        row.replace(0, 6, QStringLiteral("%1").arg(i, 6));
        row.replace(ksAt, 10, QStringLiteral("0.%1E-04").arg(1000 + 700 * i));
        rows << row;
    }
    return reportLines(rows);
}

// Every page's words joined by blanks, in the order pdftotext reads them.
QStringList pageTexts(const QList<QList<Word>>& pages)
{
    QStringList out;
    for (const QList<Word>& page : pages) {
        QStringList words;
        for (const Word& w : page)
            words << w.text;
        out << words.join(' ');
    }
    return out;
}

} // namespace

// A landscape page leaves too little room under the summary for the Ks chart:
// the chart gets a page of its own between the summary and the report, and
// the running footer counts it. Upright pages keep it under the summary.
TEST(ReportPdf, TheKsChartIsPrintedInEveryOrientation)
{
#ifdef VELDESK_NO_CHARTS
    GTEST_SKIP() << "a build without charts prints none";
#endif
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir tmp;
    sitestats::Options options;
    options.rule = sitestats::Rule::TrimmedMean;
    options.safetyFactor = 2;
    const QStringList reportText = spreadReport(6);
    QList<sitestats::Reading> readings;
    ASSERT_TRUE(sitestats::readingsOfReport(reportText, &readings));
    const reportprinter::SiteReport report =
        sitereport::siteReport(reportText, sitestats::analyse(readings, options), options);
    ASSERT_FALSE(report.designValue.contains("undefined")) << "the design line is drawn";

    for (const QPageSize::PageSizeId size : {QPageSize::A4, QPageSize::Letter})
        for (const QPageLayout::Orientation orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
            const bool landscape = orientation == QPageLayout::Landscape;
            const QString what = QStringLiteral("%1 %2").arg(size == QPageSize::A4 ? "A4" : "Letter",
                                                              landscape ? "landscape" : "portrait");
            const QString pdf = tmp.filePath(QString(what).replace(' ', '_') + ".pdf");
            int painted = 0;
            {
                QPdfWriter writer(pdf);
                writer.setResolution(300);
                writer.setPageLayout(
                    QPageLayout(QPageSize(size), orientation, QMarginsF(18, 15, 15, 15), QPageLayout::Millimeter));
                painted = reportprinter::paint(report, writer);
            }
            if (!qEnvironmentVariableIsEmpty("VELDESK_KEEP_PDF"))
                QFile::copy(pdf, qEnvironmentVariable("VELDESK_KEEP_PDF") + "/" + QFileInfo(pdf).fileName());
            const QList<QList<Word>> words = pdfWords(pdf);
            const QStringList pages = pageTexts(words);
            // The report's 28 lines take one page either way.
            ASSERT_EQ(pages.size(), landscape ? 3 : 2) << what.toStdString();
            EXPECT_EQ(painted, pages.size()) << what.toStdString();
            for (int i = 0; i < pages.size(); ++i)
                EXPECT_EQ(lines(words[i], 0, 0).back().trimmed(),
                          QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages.size()))
                    << what.toStdString() << " page " << i + 1;
            const int chartPage = landscape ? 1 : 0;
            EXPECT_TRUE(pages[0].contains("Site report: set.pd")) << what.toStdString();
            EXPECT_TRUE(pages[chartPage].contains("Ks per reading")) << what.toStdString() << "\n"
                                                                     << pages[chartPage].toStdString();
            EXPECT_TRUE(pages[chartPage].contains(sitecharts::kGeometricMean)) << what.toStdString();
            // The design line's legend names its rule and safety factor in full.
            EXPECT_TRUE(pages[chartPage].contains("Design value (mean without the highest and lowest / 2)"))
                << what.toStdString() << "\n" << pages[chartPage].toStdString();
            EXPECT_EQ(pages.filter("Ks per reading").size(), 1) << what.toStdString();
            EXPECT_TRUE(pages.back().contains("Processed file:/d/set.pd")) << "the report comes last";
        }
}
