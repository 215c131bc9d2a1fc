#include "sitereport.h"

#include "failure.h"
#include "report.h"

#include <QDate>
#include <QLocale>
#include <cmath>

namespace veldesk {

namespace sitereport {

namespace {
double inUnit(double ks, const sitestats::Options& o) { return units::fromSI(ks, o.ksUnit); }

// The operator's decimal separator, but no digit grouping: "1307", not
// "1,307", which a reader could take for a decimal number.
QLocale numbers()
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}
std::optional<double> defined(double v) { return std::isfinite(v) ? std::optional(v) : std::nullopt; }
} // namespace

sitecharts::KsInput ksInput(const sitestats::Analysis& a, const sitestats::Options& o)
{
    sitecharts::KsInput in;
    in.unit = units::name(o.ksUnit);
    for (const sitestats::Reading& r : a.readings)
        in.readings.push_back({r.point, inUnit(r.ks, o), r.w, r.flags != 0});
    in.geometricMean = defined(inUnit(a.ks.gm, o));
    in.ciLow = defined(inUnit(a.ks.ciLow, o));
    in.ciHigh = defined(inUnit(a.ks.ciHigh, o));
    in.designValue = defined(inUnit(a.designValue, o));
    in.designLabel = QStringLiteral("Design value (%1 / %2)")
                         .arg(sitestats::ruleText(o.rule), numbers().toString(o.safetyFactor, 'g', 4));
    return in;
}

sitecharts::ProbabilityInput probabilityInput(const sitestats::Analysis& a, const sitestats::Options& o)
{
    sitecharts::ProbabilityInput in;
    in.unit = units::name(o.ksUnit);
    for (const sitestats::Reading& r : a.readings)
        if (r.used)
            in.ks.push_back(inUnit(r.ks, o));
    return in;
}

QString printed(double value, const QString& unit, figuretext::Kind kind)
{
    const QString number = figuretext::shown(value, kind, numbers());
    return unit.isEmpty() || !figuretext::defined(value, kind) ? number : number + QLatin1Char(' ') + unit;
}

reportprinter::SiteReport siteReport(const QStringList& reportLines, const sitestats::Analysis& a,
                                     const sitestats::Options& o)
{
    reportprinter::SiteReport r;
    r.reportLines = reportLines;
    r.date = QDate::currentDate().toString(Qt::ISODate);
    r.frontEndVersion = reportprinter::frontEndVersion();
    for (const sitestats::Figure& f : sitestats::figures(a, o)) {
        if (f.key == QLatin1String("design_value"))
            r.designValue = printed(f.value, f.unit, f.kind);
        else
            r.statistics.append({sitestats::labelWithNote(f), printed(f.value, f.unit, f.kind)});
    }
    r.designRule = QStringLiteral("%1, divided by a safety factor of %2; Ks in %3, Psi_m in %4%5")
                       .arg(sitestats::ruleText(o.rule), numbers().toString(o.safetyFactor, 'g', 6),
                            units::name(o.ksUnit), units::name(o.psiUnit),
                            o.includeFlagged ? QStringLiteral("; W-marked readings included") : QString());
    r.chart = ksInput(a, o);
    return r;
}

bool writeSitePdf(const QString& reportPath, const sitestats::Options& o, const QString& pdfPath, QString* error)
{
    QStringList lines;
    QList<sitestats::Reading> readings;
    if (!report::readLines(reportPath, &lines))
        return reportFailure(error, QStringLiteral("cannot be read"));
    if (!sitestats::readingsOfReport(lines, &readings, error))
        return false;
    return reportprinter::writePdf(siteReport(lines, sitestats::analyse(readings, o), o), pdfPath, error);
}

} // namespace sitereport

} // namespace veldesk
