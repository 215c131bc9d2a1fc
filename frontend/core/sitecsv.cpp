#include "sitecsv.h"

#include <QStringList>

namespace veldesk {

namespace sitecsv {

using sitestats::csvNumber;

QString field(const QString& text)
{
    // A spreadsheet takes a cell that begins with one of these for a formula
    // and may run it (=HYPERLINK(...) in a file name); an apostrophe before
    // it makes the cell plain text. Numbers never pass through here.
    static const QString formulaStart = QStringLiteral("=+-@\t\r");
    const QString t = !text.isEmpty() && formulaStart.contains(text.front()) ? QChar('\'') + text : text;
    if (!t.contains(QChar(',')) && !t.contains(QChar('"')) && !t.contains(QChar('\n')) && !t.contains(QChar('\r')))
        return t;
    QString quoted = t;
    quoted.replace(QChar('"'), QLatin1String("\"\""));
    return QChar('"') + quoted + QChar('"');
}

QString summaryHeader()
{
    return QStringLiteral("file,readings,used,excluded,ks_gm,ks_gsd,ks_ci95_low,ks_ci95_high,ks_median,ks_mean,"
                          "ks_sd,ks_cv,ks_min,ks_max,psi_median,psi_mean,psi_min,psi_max,rule,safety_factor,"
                          "design_value,unit,psi_unit,tests_needed,excluded_w,excluded_invalid\n");
}

QString summaryRow(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o)
{
    const QList<sitestats::Figure> figures = sitestats::figures(a, o);
    // The columns mostly follow the figures' order: each search starts where
    // the last one ended, so a row costs a few comparisons per column.
    qsizetype from = 0;
    const auto value = [&](const char* key) {
        for (qsizetype k = 0; k < figures.size(); ++k) {
            const qsizetype i = (from + k) % figures.size();
            if (figures[i].key == QLatin1String(key)) {
                from = i + 1;
                // A figure that ran below what a double holds is no figure.
                return figuretext::defined(figures[i].value, figures[i].kind) ? csvNumber(figures[i].value) : QString();
            }
        }
        return QString();
    };
    QStringList row{field(file)};
    for (const char* key : {"readings", "used", "excluded", "ks_gm", "ks_gsd", "ks_ci95_low", "ks_ci95_high",
                            "ks_median", "ks_mean", "ks_sd", "ks_cv", "ks_min", "ks_max", "psi_median", "psi_mean",
                            "psi_min", "psi_max"})
        row << value(key);
    row << field(sitestats::ruleKey(o.rule)) << csvNumber(o.safetyFactor) << value("design_value")
        << field(units::asciiName(o.ksUnit)) << field(units::name(o.psiUnit)) << value("tests_needed")
        << value("excluded_w") << value("excluded_invalid");
    return row.join(QChar(',')) + QChar('\n');
}

QString readingsHeader() { return QStringLiteral("file,point,dtheta,t_half,t_fin,ks,psi_m,w,flags,used\n"); }

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
                              field(sitestats::flagNames(r.flags)),
                              r.used ? QStringLiteral("1") : QStringLiteral("0")};
        out += row.join(QChar(',')) + QChar('\n');
    }
    return out;
}

QByteArray siteFile(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o)
{
    QString text = summaryHeader() + summaryRow(file, a, o) + QChar('\n') + readingsHeader() + readingsRows(file, a, o);
    text.replace(QChar('\n'), QLatin1String("\r\n"));
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace sitecsv

} // namespace veldesk
