#include "sitecsv.h"

#include <QStringList>

namespace veldesk {

namespace sitecsv {

using sitestats::csvNumber;

QString field(const QString& text)
{
    if (!text.contains(QChar(',')) && !text.contains(QChar('"')) && !text.contains(QChar('\n'))
        && !text.contains(QChar('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QChar('"'), QLatin1String("\"\""));
    return QChar('"') + quoted + QChar('"');
}

QString summaryHeader()
{
    return QStringLiteral("file,readings,used,excluded,ks_gm,ks_gsd,ks_ci95_low,ks_ci95_high,ks_median,ks_mean,"
                          "ks_sd,ks_cv,ks_min,ks_max,psi_median,psi_mean,psi_min,psi_max,rule,safety_factor,"
                          "design_value,unit,psi_unit,tests_needed\n");
}

QString summaryRow(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o)
{
    const QList<sitestats::Figure> figures = sitestats::figures(a, o);
    const auto value = [&](const char* key) {
        for (const sitestats::Figure& f : figures)
            if (f.key == QLatin1String(key))
                return csvNumber(f.value);
        return QString();
    };
    QStringList row{field(file)};
    for (const char* key : {"readings", "used", "excluded", "ks_gm", "ks_gsd", "ks_ci95_low", "ks_ci95_high",
                            "ks_median", "ks_mean", "ks_sd", "ks_cv", "ks_min", "ks_max", "psi_median", "psi_mean",
                            "psi_min", "psi_max"})
        row << value(key);
    row << sitestats::ruleKey(o.rule) << csvNumber(o.safetyFactor) << value("design_value")
        << field(units::name(o.ksUnit)) << field(units::name(o.psiUnit)) << value("tests_needed");
    return row.join(QChar(',')) + QChar('\n');
}

QString readingsHeader() { return QStringLiteral("file,point,dtheta,t_half,t_fin,ks,psi_m,w,flags\n"); }

QString readingsRows(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o)
{
    QString out;
    const QString f = field(file);
    for (const sitestats::Reading& r : a.readings) {
        const QStringList row{f,
                              QString::number(r.point),
                              csvNumber(r.dtheta),
                              csvNumber(r.tHalf),
                              csvNumber(r.tFin),
                              csvNumber(units::fromSI(r.ks, o.ksUnit)),
                              csvNumber(units::fromSI(r.psiM, o.psiUnit)),
                              r.w ? QStringLiteral("1") : QStringLiteral("0"),
                              sitestats::flagNames(r.flags)};
        out += row.join(QChar(',')) + QChar('\n');
    }
    return out;
}

} // namespace sitecsv

} // namespace veldesk
