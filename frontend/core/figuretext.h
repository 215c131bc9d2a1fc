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
    Value, // Ks, Psi_m, the design value: in a unit
};

// The one wording of a figure that cannot be computed (the standard deviation
// of one reading, the interval of a single value).
inline const QString kUndefined = QStringLiteral("undefined");

// A count as a whole number; a ratio or value with 4 significant digits,
// trailing zeros kept so that every figure shows the same precision, in plain
// decimals from 0.001 to 99999 and in powers of ten beyond; kUndefined for
// anything not finite. The locale's decimal separator, no digit grouping.
QString shown(double value, Kind kind, const QLocale& locale);

} // namespace figuretext

} // namespace veldesk
