#pragma once
// Text that crosses the clipboard between the reading grid and other programs:
// cutting pasted text into rows and cells, reading a pasted cell as a number
// the way the operator meant it, the text a cleaned cell shows, and the grid
// text offered to spreadsheets, editors and mail.
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace veldesk {

namespace gridtext {

// Rows end at CR LF, LF or CR, whatever program wrote the text; cells are
// separated by tabs. A line end after the last row ends that row and starts
// no empty one.
QList<QStringList> splitRows(const QString& text);

// How many of the pasted rows fall beyond a grid of gridRows rows and are lost:
// every row after the last one that fits, up to the last row holding text.
// Blank rows at the end of the text lose nothing and are not counted.
int rowsLeftOut(const QList<QStringList>& rows, int gridRows);

// A pasted cell read as one number.
struct Reading {
    enum Kind { Empty, Number, Unreadable } kind = Empty;
    double value = 0;
};

// Blanks, tabs and non-breaking spaces around the text are ignored. A comma or
// a point is the decimal separator; the digit-group separator of the
// operator's regional settings, blanks and non-breaking spaces between groups
// of three digits are read as grouping ("1,250" is 1250 under English settings,
// "1.250" under German ones, "0,25" is 0.25 under both). A sign, an exponent
// introduced by E or D, and the unit "s" after the number are taken. Anything
// else, or a value beyond single precision, is Unreadable; no text is Empty.
Reading readPasted(const QString& cell, const QLocale& locale);

// A cell's text as the grid shows it, read for Save and for anything else that
// takes the readings from the grid. The rules of readPasted, except that only
// blanks group digits: a cell shows numbers without grouping, with "." after
// Open and with the operator's separator otherwise, so "1.250" and "1,250"
// are both one and a quarter whatever the regional settings.
Reading readCell(const QString& cell);

// The text a cell shows for the value v: the single-precision value Save
// writes (5 decimals), in its shortest form with the operator's separator, so
// that what the grid shows is what the data-set file will hold.
QString shownAsSaved(double v, const QLocale& locale);

// A pasted cell after cleaning. A number shows as shownAsSaved; a cell that
// cannot be read keeps its text, without control characters, and needs the
// operator's attention; a blank cell becomes empty.
struct Cleaned {
    QString text;
    bool attention = false;
};
Cleaned cleanCell(const QString& cell, const QLocale& locale);

// A cell after the operator typed `buffer` into it, read as readPasted reads
// pasted text: a number shows in the general number format, an empty buffer
// as "0", and text that is not one number keeps its text (without control
// characters) and needs the operator's attention, as a pasted cell does.
Cleaned typedCell(const QString& buffer, const QLocale& locale);

// The line end other programs on this platform expect between rows.
#ifdef Q_OS_WIN
inline const QString kLineEnd = QStringLiteral("\r\n");
#else
inline const QString kLineEnd = QStringLiteral("\n");
#endif

// Grid text (cells joined by tab, rows by carriage return) as other programs
// take it: rows separated by lineEnd. Where the regional decimal separator is
// not ".", a cell holding a plain number written with "." carries that
// separator instead, and a trailing point ("94.") is dropped; under "."
// settings the cell texts are left as they are.
QString forOtherPrograms(const QString& gridText, const QLocale& locale, const QString& lineEnd = kLineEnd);

} // namespace gridtext

} // namespace veldesk
