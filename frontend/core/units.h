#pragma once
// Units in which a site's figures are shown and exported. The engine's report
// and the data-set file always stay in SI (Ks in m/s, Psi_m in m); only the
// presentation converts. A factor is what one SI unit is worth in the unit:
// value_in_unit = value_si * factor.
#include <QList>
#include <QString>
#include <optional>

namespace veldesk {

namespace units {

enum class Ks { MetrePerSecond, CentimetrePerSecond, MicrometrePerSecond, MillimetrePerHour,
                CentimetrePerHour, InchPerHour, MetrePerDay };
enum class Psi { Metre, Centimetre, Inch };

// Every unit, in the order a chooser lists them.
QList<Ks> allKs();
QList<Psi> allPsi();

// The unit's name as shown and written to files: "m/s", "cm/s", "µm/s",
// "mm/h", "cm/h", "in/h", "m/d"; "m", "cm", "in".
QString name(Ks u);
QString name(Psi u);
// The name in ASCII, for files that programs read: "um/s" for "µm/s", which
// a spreadsheet may decode in its own 8-bit character set.
QString asciiName(Ks u);

// The unit named, blanks around it ignored; "um/s" is taken for "µm/s" where
// a keyboard has no µ. No value for anything else.
std::optional<Ks> parseKs(const QString& s);
std::optional<Psi> parsePsi(const QString& s);

double factor(Ks u);
double factor(Psi u);

// SI to the unit and back.
inline double fromSI(double v, Ks u) { return v * factor(u); }
inline double toSI(double v, Ks u) { return v / factor(u); }
inline double fromSI(double v, Psi u) { return v * factor(u); }
inline double toSI(double v, Psi u) { return v / factor(u); }

} // namespace units

} // namespace veldesk
