#pragma once
// A site figure written for people: in the analysis window, on the printed
// report and in velstat's readable block. (Files for other programs, the CSV
// and the clipboard, carry the full value and an empty field instead.)
#include <QLocale>
#include <QString>

namespace veldesk {

namespace figuretext {

// What a figure counts or measures decides how it is written.
enum class Kind {
    Count, // readings, tests needed: a whole number
    Ratio, // geometric standard deviation, coefficient of variation: no unit
    Value, // Psi_m, a spread, a reading as printed: in a unit
    // Ks of the readings used and every figure made of it (its means, median,
    // extremes and interval, the design value): in a unit and above zero by
    // nature, so a zero can only be a computation that ran below the
    // smallest number a double holds (the low end of the interval of readings
    // many decades apart), and is no figure.
    PositiveValue,
};

// The one wording of a figure that cannot be computed (the standard deviation
// of one reading, the interval of a single value).
inline const QString kUndefined = QStringLiteral("undefined");

// Whether there is a figure to write: a finite value, and for a
// PositiveValue one above zero. Files for other programs leave the field of
// a figure that is not defined empty.
bool defined(double value, Kind kind);

// A count as a whole number; a ratio or value with 4 significant digits,
// trailing zeros kept so that every figure shows the same precision, in plain
// decimals from 0.001 to 99999 and in powers of ten beyond, however small (a
// positive figure never reads as 0); kUndefined for anything not defined.
// The locale's decimal separator, no digit grouping.
QString shown(double value, Kind kind, const QLocale& locale);

} // namespace figuretext

} // namespace veldesk
