#pragma once
// The engine's report `pd.out` as the front end reads it: where it is expected,
// where its permanent results copy goes, how one table row is cut into the
// result grid's cells and how the whole report is taken apart. The layout is
// fixed by the engine's report writer; the reader relies only on line numbers
// and fixed character positions.
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace veldesk {

namespace report {

// Where the engine's report is expected for a data set: the data-set path's
// directory part up to and including its last "\" or "/", then "pd.out"
// (just "pd.out" for a bare file name).
QString reportPathFor(const QString& dataSetPath);

// The results copy: the data-set path with the extension of its file name
// replaced by "out"; a file name without a "." gets ".out" appended. When that
// would be the data set itself ("site.out") or the engine's report "pd.out"
// ("pd.pd"), ".out" is appended to the data set's whole name instead
// ("site.out.out", "pd.pd.out").
QString resultsCopyPathFor(const QString& dataSetPath);

// The file bears the name of the engine's report, "pd.out", in any case (as
// on a Windows disk): evaluated, it would be deleted as a stale report and
// then overwritten by the engine.
bool hasReportName(const QString& path);

// The directory part of a path, up to and including its last "\" or "/";
// empty for a bare file name.
QString directoryPart(const QString& path);

// The fields of a reading row, in the order and at the columns the engine
// writes them: the reading number in 6 characters, Δθ and the two times in
// 8 each, delta0, romax, romed and a in 7 each, the W text in 3 (its "*" in
// the middle), Ks in 10 and Psi_m in 7; 78 characters in all. The fields
// follow each other without a blank, so a field that fills its width (Δθ
// 150.0000, Psi_m 13.0008) touches its neighbour, and only these columns
// tell them apart.
enum Field { Point, DTheta, THalf, TFin, Delta0, RoMax, RoMed, A, WText, Ks, PsiM, kFieldCount };
struct Column {
    int start; // 0-based
    int width;
};
inline constexpr Column kColumns[kFieldCount] = {{0, 6},  {6, 8},  {14, 8}, {22, 8}, {30, 7}, {37, 7},
                                                 {44, 7}, {51, 7}, {58, 3}, {61, 10}, {71, 7}};
inline constexpr int kRowWidth = 78;

// One line of the table, cut at the engine's columns.
struct ReportRow {
    // The reading number; no value when its field is not a whole number that
    // fits 16 bits, which makes the line something other than a reading.
    std::optional<qint16> point;
    std::array<QString, kFieldCount> fields; // as printed, blanks included
    // A reading: its number reads as one and is at least 1, as the engine
    // numbers them. Any other field may be unreadable (a field full of "*"
    // where the value did not fit) without the line ceasing to be a reading.
    bool isReading() const { return point && *point >= 1; }
    // The root finder's W mark: "*" in the middle of the W text.
    bool wMarked() const { return fields[WText].mid(1, 1) == QLatin1String("*"); }
    // A field's value: see fieldValue().
    double value(Field f) const;
};

// A line cut at the engine's columns; a short line gives short or empty
// fields at its end.
ReportRow cutRow(const QString& line);

// The reading-number field read as a 16-bit whole number: blanks around it
// are ignored, a fraction is rounded half to even; no value for anything else.
std::optional<qint16> pointNumber(const QString& field);

// A printed number as the engine's writing layer spells it: blanks around it
// ignored; "NaN", "Infinity", "-Infinity" and, where the field is narrower,
// "Inf" and "-Inf"; a leading "0" left out where the field had no room for it
// ("-.4073E-04"); an exponent of three digits written without its "E"
// ("0.1234-100"). A field that holds no number, such as one full of "*",
// reads as NaN: its value is unknown.
double fieldValue(const QString& text);

// The report taken apart: the header lines and every line of the table.
struct ParsedReport {
    QStringList header;    // lines 17, 18 and 19, as many as were read
    QList<ReportRow> rows; // every line between the table header and the footer, in order
    // Lines 1 to 23 were all there, so the table was begun.
    bool tableBegun = false;
    // The footer's first line (a line beginning with "-") ends the table;
    // without it the report was cut short.
    bool complete = false;
};

// Lines 1-16 are skipped, 17-19 taken, 20-23 skipped; then one row per line
// until a line beginning with "-".
ParsedReport parseReport(const QStringList& lines);

// How much of a parsed report the results window's grid shows: the rows up
// to the first one that is not a reading, which stops the table and is kept
// as an empty row. A reading number of 0 stops it quietly; one below 0, a
// number that does not read, a report cut short or a reading beyond maxRows
// (no grid row left for it) stop it with the error "Error in temporary file
// pd.out".
struct GridLoad {
    int filled = 0;       // rows[0 .. filled) are shown
    bool stopRow = false; // one empty row follows them
    bool error = false;
};
GridLoad gridLoad(const ParsedReport& parsed, int maxRows);
// Readings the results window's grid has room for: one fewer than the 1000
// the engine reads, so a full report shows readings 1 to 999 and the error.
inline constexpr int kResultsGridReadings = 999;

// The lines of a text file, split at CR LF, LF or a lone CR, without their
// ends; a final line end does not start another line. Each line is read as
// UTF-8 when it is valid UTF-8 (even when cut inside its last character),
// as Windows-1252 otherwise: the engine copies the file name and the
// description into the report as the bytes it was given. No value when the
// file cannot be read; *error then says why.
bool readLines(const QString& path, QStringList* lines, QString* error = nullptr);
// The same for the bytes of a file already read.
QStringList linesOf(const QByteArray& data);

// Copies a text file line by line, every line written with CR LF. The
// destination is replaced atomically, so a failed copy leaves it as it was;
// copying a file onto itself leaves it untouched. On failure returns false
// and, when given, puts the reason into *error.
bool copiar(const QString& forigen, const QString& fdest, QString* error = nullptr);

// True when both names denote the same existing file.
bool sameFile(const QString& a, const QString& b);

} // namespace report

} // namespace veldesk
