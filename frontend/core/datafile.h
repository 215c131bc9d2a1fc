#pragma once
// The data-set file as the front end writes and reads it: line 1 the
// description, line 2 "ri , h0", then one line "dtheta tmed tmax" per reading;
// CRLF line ends, 8-bit text, numbers with "." and 5 decimals. The
// description is stored in Windows-1252, what data sets written on Windows
// hold; a file written as UTF-8 elsewhere is read as UTF-8.
#include "gridedit.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

namespace veldesk {

namespace datafile {

using Row = std::array<QString, 3>; // dtheta, tmed, tmax as texts

inline constexpr int kMaxReadings = gridedit::kRows; // a data set loads into the main window's grid

// A grid cell, 1-based as the operator sees it, with its text.
struct CellAt {
    int row = 0;
    int col = 0;
    QString text;
    friend bool operator==(const CellAt&, const CellAt&) = default;
};

// How far Save gets through the grid, each cell read by gridtext::readCell.
// Readings are written in row order up to the first row with an empty cell or
// a zero; that row and all below it are left out. A cell of the rows before
// it that is not one number ("12abc", "1,2,3") cannot be written at all.
struct Extent {
    int saved = 0;           // readings written
    int leftOutWithData = 0; // rows left out that hold more than blanks and zeros
    int firstLeftOut = 0;    // the first of them (1-based), 0 when none
    QList<CellAt> notNumbers; // cells of the saved rows that are not one number
};
Extent extent(const QList<Row>& gridRows);

// True when the engine reads the description as the operator sees it;
// otherwise false and *problem says why. The engine skips a blank line, takes
// an unquoted description up to its first blank, comma or slash, and reads a
// description that begins with an apostrophe or a double quote up to the
// matching closing one, however many lines that takes. The description must
// also fit in Windows-1252 and on one line.
bool checkDescription(const QString& description, QString* problem = nullptr);

// The file's bytes, readings as `extent` says. The description is expected to
// have passed checkDescription; a character Windows-1252 lacks would be
// written as "?".
QByteArray compose(const QString& description, const QString& riText, const QString& h0Text,
                   const QList<Row>& gridRows);

// Replaces the file at `path` with `bytes` all at once: either the whole new
// file is there afterwards, or the old one (if any) is left untouched.
// Returns false when anything failed; *error then names the file and the reason.
bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// What makes a file no data set. A data set is text whose first line (the
// description) is followed by a line that begins with the two pipe
// dimensions as numbers, with no third number after them.
enum class Refusal { None, Empty, NotText, NoPipeDimensions, PipeDimensionsNotNumbers, ThirdNumber };
QString refusalText(Refusal why); // "" for None

// Data of the file that Open does not show, and that saving over the file
// would therefore drop: readings beyond the grid's 100, or anything after the
// reading or value where loading stopped.
enum class Unshown { None, BeyondGrid, AfterStop };

// What opening a data set puts into the main window.
struct Loaded {
    bool opened = false; // false: the file could not be opened, nothing changes
    Refusal refusal = Refusal::Empty;
    QString description;
    QString ri, h0;        // the two values as written
    QList<Row> readings;   // each value with the decimals it needs: 3 to 5, 1 to 5, 1 to 5
    Unshown unshown = Unshown::None; // what of the file is not in `readings`
};

// Readings are taken three numbers at a time across blanks, commas and line
// ends; loading stops after a reading whose single-precision product is 0 or
// below (that reading is kept), after the 100th reading, at a value that is
// not a number, or at the end of the bytes (an incomplete last reading is
// dropped). `whole` false: the bytes are the beginning of a longer file, and
// what follows their last line end is not used.
Loaded parse(const QByteArray& bytes, bool whole = true);

// The bytes read from a file: enough for the grid, never the whole of a huge
// file.
inline constexpr qint64 kReadLimit = 1 << 20;
Loaded read(const QString& path);

// The decimals a value is shown with after Open: the fewest, at least
// `least` and at most 5, whose text reads back to the same single-precision
// value; when none does, as many as the five-decimal form needs.
int decimalsFor(float value, int least);

} // namespace datafile

} // namespace veldesk
