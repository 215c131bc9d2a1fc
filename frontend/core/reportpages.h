#pragma once
// The printed report's pages, worked out without any painting: page 1 carries
// the site summary and the Ks chart (or the chart has a page of its own right
// after it), the pages after them the engine's report line for line. The
// renderer asks this unit which lines go on which page and what the running
// header and footer say, so a printed page can be checked against pd.out
// line by line.
#include <QList>
#include <QString>
#include <QStringList>

namespace veldesk {

namespace reportpages {

// One page of report text: lines [first, first + count) of the report.
struct TextPage {
    int first = 0;
    int count = 0;
};

// The report's lines cut into pages of at most linesPerPage lines, in order.
// A report without lines still gets one (empty) page, so the printout always
// shows where the report would be. linesPerPage below 1 is taken as 1.
QList<TextPage> paginate(int lineCount, int linesPerPage);

// Where the Ks chart is printed. Under the summary on page 1 while that
// leaves it at least kChartMinHeightMm; below that height its axis labels and
// legend no longer read, so it takes a page of its own between the summary
// and the report (a landscape page has little room left under the summary).
// A build without charts prints none.
enum class ChartPlace { None, SummaryPage, OwnPage };
inline constexpr double kChartMinHeightMm = 60.0;
ChartPlace chartPlace(bool withChart, double roomUnderSummaryMm);

// Total pages of the printout: the summary page, the chart's own page where
// it has one, and the text pages.
int totalPages(int textPages, ChartPlace chart);

// Running header, the same on every page: the data set's name.
QString headerText(const QString& dataSetName);

// Running footer: "Page n of m" (n counted from 1, the summary page).
QString footerText(int page, int pageCount);

// The engine's version as its banner states it ("v0.3" from the banner line
// "|         v0.3 for DOS and UNIX  ...|"): the first word beginning with "v"
// and a digit within lines 1 to 16; empty when the banner holds none.
QString engineVersion(const QStringList& reportLines);

// The data set's name from the processed-file line (line 17): the text after
// "Processed file:", blanks trimmed, and from it only the file name (the part
// after the last "\" or "/"). Empty when the line is missing.
QString dataSetName(const QStringList& reportLines);

// The description from line 18 (after " Description:  "), trailing blanks
// trimmed; the pipe-dimensions line 19 with its leading blank trimmed.
QString description(const QStringList& reportLines);
QString pipeDimensions(const QStringList& reportLines);

// The widest line, in characters, but never less than the 80 columns of the
// report's own layout: the renderer scales the type so this many fit.
int columnsToFit(const QStringList& reportLines);

} // namespace reportpages

} // namespace veldesk
