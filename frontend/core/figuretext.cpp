#include "figuretext.h"

#include <cmath>

namespace veldesk {

namespace figuretext {

bool defined(double v, Kind kind) { return std::isfinite(v) && (kind != Kind::PositiveValue || v > 0); }

QString shown(double v, Kind kind, const QLocale& locale)
{
    if (!defined(v, kind))
        return kUndefined;
    QLocale l = locale;
    l.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
    if (kind == Kind::Count && v == std::floor(v) && std::fabs(v) < 1e15)
        return l.toString(static_cast<qlonglong>(v));
    if (v == 0)
        return l.toString(0.0, 'f', 3);
    const double rounded = QString::number(v, 'e', 3).toDouble(); // 9.9996 becomes 10.00
    const int exponent = int(std::floor(std::log10(std::abs(rounded))));
    if (exponent < -3 || exponent > 4)
        return l.toString(v, 'e', 3);
    return l.toString(v, 'f', std::max(0, 3 - exponent));
}

} // namespace figuretext

} // namespace veldesk
