#pragma once
// Numbers typed into the analysis window's boxes (safety factor, precision):
// read as the grid reads a cell, "." and "," both decimal marks whatever the
// regional settings, one number or nothing. A box that holds anything else
// keeps the last value it read and says why.
#include <QLocale>
#include <QString>
#include <optional>

namespace veldesk {

namespace boxnumber {

// The design value is the rule's figure divided by the safety factor: any
// number from 1 up (a factor below 1 would raise the design value).
std::optional<double> readSafetyFactor(const QString& text, QString* problem = nullptr);

// The precision of the tests needed, in percent: any positive number, with
// or without a "%" after it.
std::optional<double> readPrecisionPercent(const QString& text, QString* problem = nullptr);

// A box's value as it shows it: the shortest form with up to 6 significant
// digits, the operator's decimal separator, no grouping.
QString shown(double value, const QLocale& locale = QLocale());

} // namespace boxnumber

} // namespace veldesk
