#pragma once
// The data-set file as the front end writes and reads it: line 1 the
// description, line 2 "ri , h0", then one line "dtheta tmed tmax" per reading;
// CRLF line ends, 8-bit text (Latin-1), numbers with "." and 5 decimals.
#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

namespace datafile {

using Row = std::array<QString, 3>; // dtheta, tmed, tmax as texts

inline constexpr int kMaxReadings = 100; // data rows of the main window's grid

// The file's bytes. Grid rows are taken in order until the first one with a
// cell that reads as 0 (empty, zero or not a number); that row and all below
// it are left out. Box and cell texts are read with valor_numero.
QByteArray compose(const QString& description, const QString& riText, const QString& h0Text,
                   const QList<Row>& gridRows);

// Replaces the file at `path` with `bytes` all at once: either the whole new
// file is there afterwards, or the old one (if any) is left untouched.
// Returns false when anything failed.
bool write(const QString& path, const QByteArray& bytes);

// What opening a data set puts into the main window. Loading ends silently at
// the first thing it cannot read; what was read before it is kept.
struct Loaded {
    bool opened = false;          // false: the file could not be opened, nothing changes
    bool hasDescription = false;  // record 1 was there
    QString description;
    bool hasPipe = false;         // record 2 was there
    QString ri, h0;               // its two values as written
    QList<Row> readings;          // formatted 3, 1 and 1 decimals
};

// Readings are taken three numbers at a time across blanks, commas and line
// ends; loading stops after a reading whose single-precision product is 0 or
// below (that reading is kept), after the 100th reading, at a value that is
// not a number, or at the end of the file (an incomplete last reading is
// dropped).
Loaded parse(const QByteArray& bytes);
Loaded read(const QString& path);

} // namespace datafile
