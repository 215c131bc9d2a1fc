#pragma once
// Shared procedures of the front end's windows: the number forms that carry
// values between the screen and the data-set file whatever the operator's
// regional settings, and the one test every window uses for a file.
#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace veldesk {

namespace Module1 {

// x rounded to `decimals` places (ties to even) in single precision, written
// with "." and exactly `decimals` fraction digits for 1 to 5 decimals, as a
// whole number otherwise. The sign follows the unrounded x, so -0.0001 with 3
// decimals is "-0.000". False, with the reason, for negative decimals.
bool formatNumber(float x, int decimals, QString* text, QString* error = nullptr);
// formatNumber's text; empty for negative decimals.
QString formatea_numero(float x, qint16 decimals);

// The operator's number, typed with "," or "." as separator; never fails,
// text without a leading number gives 0.
double valor_numero(const QString& s);

// True when the file can be opened for reading (and is closed again); else
// false, with the reason.
bool fileReadable(const QString& path, QString* error = nullptr);
// fileReadable as 1 or 0.
qint16 existe_archivo(const QString& path);

// The lenient leading-number reader: blanks, tabs and line feeds anywhere are
// ignored; sign, digits, "." and an exponent introduced by E or D are taken up
// to the first character that cannot continue the number. "." is the only
// decimal separator. No number, or one beyond the range of a double, reads 0.
double readNumber(const QString& s);

// The general number format: the shortest form with up to 15 significant
// digits, no trailing zeros, exponent form ("1E+15", "1E-05") only below 1E-4
// and from 1E15 up, the locale's decimal separator and no digit grouping.
QString generalNumber(double v, const QLocale& locale = QLocale::system());

} // namespace Module1

} // namespace veldesk
