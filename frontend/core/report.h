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

// The directory part of a path, up to and including its last "\" or "/";
// empty for a bare file name.
QString directoryPart(const QString& path);

// One table row cut into the result grid's columns 1 to 10 (cells[0] is
// column 1, cells[9] the W flag character).
struct ReportRow {
    qint16 point = 0;
    std::array<QString, 10> cells;
    bool filled = false; // false: the row was added but holds no cells (the stop row)
};

// Cuts a row at the fixed positions (1-based): point number 1-7, then 8-14,
// 15-22, 23-30, 31-37, 38-44, 45-51, 52-59, 61-71, 72 to the end and the flag
// at 60. The texts are kept exactly as cut, blanks included. No value when
// the point-number field is not a whole number that fits 16 bits.
std::optional<ReportRow> cutRow(const QString& line);

// The point-number field read as a 16-bit whole number: blanks around it are
// ignored, a fraction is rounded half to even; no value for anything else.
std::optional<qint16> pointNumber(const QString& field);

// The report taken apart the way the results window loads it.
struct ParsedReport {
    QStringList header;    // lines 17, 18 and 19, as many as were read
    QList<ReportRow> rows; // grid rows 2, 3, ... in order, including a stop row
    bool error = false;    // "Error in temporary file pd.out" is due
    // Lines 1 to 23 were all there, so the table was begun: the unit row
    // counts as written. Before that only the heading row is kept.
    bool tableBegun = false;
};

// Lines 1-16 are skipped, 17-19 taken, 20-23 skipped; then one row per line
// until a line beginning with "-". A point number of 0 ends the table
// quietly, one below 0 or a field that is not a number ends it with the
// error; the report ending before the footer, or a reading beyond maxRows,
// is an error too.
ParsedReport parseReport(const QStringList& lines, int maxRows = 999);

// The lines of a text file, split at CR LF, LF or a lone CR, without their
// ends; a final line end does not start another line. Each line is read as
// UTF-8 when it is valid UTF-8 (even when cut inside its last character),
// as Windows-1252 otherwise: the engine copies the file name and the
// description into the report as the bytes it was given. No value when the
// file cannot be read; *error then says why.
bool readLines(const QString& path, QStringList* lines, QString* error = nullptr);

// Copies a text file line by line, every line written with CR LF. The
// destination is replaced atomically, so a failed copy leaves it as it was;
// copying a file onto itself leaves it untouched. On failure returns false
// and, when given, puts the reason into *error.
bool copiar(const QString& forigen, const QString& fdest, QString* error = nullptr);

// True when both names denote the same existing file.
bool sameFile(const QString& a, const QString& b);

} // namespace report

} // namespace veldesk
