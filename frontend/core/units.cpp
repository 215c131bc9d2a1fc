#include "units.h"

namespace veldesk {

namespace units {

namespace {

constexpr double kInch = 0.0254; // m, exactly
constexpr double kHour = 3600.0; // s
constexpr double kDay = 86400.0; // s

struct KsEntry {
    Ks unit;
    const char16_t* name;
    double factor;
};
const KsEntry kKs[] = {
    {Ks::MetrePerSecond, u"m/s", 1.0},
    {Ks::CentimetrePerSecond, u"cm/s", 100.0},
    {Ks::MicrometrePerSecond, u"\u00b5m/s", 1e6},
    {Ks::MillimetrePerHour, u"mm/h", 1000.0 * kHour},
    {Ks::CentimetrePerHour, u"cm/h", 100.0 * kHour},
    {Ks::InchPerHour, u"in/h", kHour / kInch},
    {Ks::MetrePerDay, u"m/d", kDay},
};

struct PsiEntry {
    Psi unit;
    const char16_t* name;
    double factor;
};
const PsiEntry kPsi[] = {
    {Psi::Metre, u"m", 1.0},
    {Psi::Centimetre, u"cm", 100.0},
    {Psi::Inch, u"in", 1.0 / kInch},
};

template <class Table, class Unit>
const auto& entry(const Table& table, Unit u)
{
    for (const auto& e : table)
        if (e.unit == u)
            return e;
    return table[0]; // unreachable: every enumerator has its entry
}

} // namespace

QList<Ks> allKs()
{
    QList<Ks> out;
    for (const auto& e : kKs)
        out << e.unit;
    return out;
}

QList<Psi> allPsi()
{
    QList<Psi> out;
    for (const auto& e : kPsi)
        out << e.unit;
    return out;
}

QString name(Ks u) { return QString::fromUtf16(entry(kKs, u).name); }
QString name(Psi u) { return QString::fromUtf16(entry(kPsi, u).name); }

QString asciiName(Ks u)
{
    return u == Ks::MicrometrePerSecond ? QStringLiteral("um/s") : name(u);
}
double factor(Ks u) { return entry(kKs, u).factor; }
double factor(Psi u) { return entry(kPsi, u).factor; }

std::optional<Ks> parseKs(const QString& s)
{
    QString t = s.trimmed();
    if (t == QLatin1String("um/s") || t == QStringLiteral("\u03bcm/s")) // ASCII, or Greek mu
        t = name(Ks::MicrometrePerSecond);
    for (const auto& e : kKs)
        if (t == QString::fromUtf16(e.name))
            return e.unit;
    return std::nullopt;
}

std::optional<Psi> parsePsi(const QString& s)
{
    const QString t = s.trimmed();
    for (const auto& e : kPsi)
        if (t == QString::fromUtf16(e.name))
            return e.unit;
    return std::nullopt;
}

} // namespace units

} // namespace veldesk
