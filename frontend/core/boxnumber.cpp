#include "boxnumber.h"

#include "failure.h"
#include "gridtext.h"

#include <cmath>

namespace veldesk {

namespace boxnumber {

namespace {

std::optional<double> one(const QString& text)
{
    if (text.trimmed().endsWith(QLatin1Char('s'))) // the grid's seconds have no place here
        return std::nullopt;
    const gridtext::Reading r = gridtext::readCell(text);
    if (r.kind != gridtext::Reading::Number || !std::isfinite(r.value))
        return std::nullopt;
    return r.value;
}

} // namespace

std::optional<double> readSafetyFactor(const QString& text, QString* problem)
{
    const auto v = one(text);
    if (!v || *v < 1) {
        reportFailure(problem, QStringLiteral("The safety factor must be one number, 1 or more."));
        return std::nullopt;
    }
    return v;
}

std::optional<double> readPrecisionPercent(const QString& text, QString* problem)
{
    QString t = text.trimmed();
    if (t.endsWith(QLatin1Char('%')))
        t.chop(1);
    const auto v = one(t);
    if (!v || *v <= 0) {
        reportFailure(problem, QStringLiteral("The precision must be one positive number of percent."));
        return std::nullopt;
    }
    return v;
}

QString shown(double value, const QLocale& locale)
{
    QLocale l = locale;
    l.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
    return l.toString(value, 'g', 6);
}

} // namespace boxnumber

} // namespace veldesk
