// velstat: the site figures of many engine reports at once, for a console or
// a spreadsheet. Reads reports only; writes to standard output, complaints to
// standard error.
//
// Exit status: 0 when every report was read, 1 when one or more files were not
// reports (the others are still processed), 2 for a command-line error.
#include "figuretext.h"
#include "sitecsv.h"
#include "sitereport.h"
#include "sitestats.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

using namespace veldesk;

namespace {

enum class Output { Readable, Csv, Readings };

struct CommandLine {
    sitestats::Options options;
    Output output = Output::Readable;
    QStringList reports;
    QString pdf; // --pdf: the printed site report of the one REPORT
};

// Every option of the program: one place to read the command line, so that a
// new option is one more entry here and one more field of CommandLine.
std::optional<CommandLine> parseCommandLine(const QStringList& arguments, QString* error)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Site statistics, design value and quality flags of engine reports."));
    p.addHelpOption();
    p.addVersionOption();
    const QCommandLineOption unit(QStringLiteral("unit"),
                                  QStringLiteral("Unit of Ks: m/s, cm/s, um/s, mm/h, cm/h, in/h or m/d (default m/s)."),
                                  QStringLiteral("U"), QStringLiteral("m/s"));
    const QCommandLineOption psiUnit(QStringLiteral("psi-unit"), QStringLiteral("Unit of Psi_m: m, cm or in (default m)."),
                                     QStringLiteral("U"), QStringLiteral("m"));
    const QCommandLineOption rule(QStringLiteral("rule"),
                                  QStringLiteral("Rule of the design value: gm, median, trimmed-median, mean or min "
                                                 "(default gm)."),
                                  QStringLiteral("R"), QStringLiteral("gm"));
    const QCommandLineOption safety(QStringLiteral("safety-factor"),
                                    QStringLiteral("The design value is the rule's figure divided by F (default 1)."),
                                    QStringLiteral("F"), QStringLiteral("1"));
    const QCommandLineOption precision(QStringLiteral("precision"),
                                       QStringLiteral("Tests needed for the geometric mean within +-X percent at 95 % "
                                                      "confidence (default 20)."),
                                       QStringLiteral("X"), QStringLiteral("20"));
    const QCommandLineOption includeFlagged(QStringLiteral("include-flagged"),
                                            QStringLiteral("Let W-marked readings enter the statistics."));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("One CSV row per report."));
    const QCommandLineOption readings(QStringLiteral("readings"), QStringLiteral("One CSV row per reading."));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Write the printed site report of the one REPORT as a PDF: figures, "
                                                "design value and Ks chart, then the report itself."),
                                 QStringLiteral("OUT.pdf"));
    p.addOptions({unit, psiUnit, rule, safety, precision, includeFlagged, csv, readings, pdf});
    p.addPositionalArgument(QStringLiteral("REPORT"), QStringLiteral("Engine reports (pd.out or a results copy)."),
                            QStringLiteral("REPORT..."));

    const auto fail = [error](const QString& why) -> std::optional<CommandLine> {
        *error = why;
        return std::nullopt;
    };
    if (!p.parse(arguments))
        return fail(p.errorText());
    if (p.isSet(QStringLiteral("help")))
        p.showHelp(0);
    if (p.isSet(QStringLiteral("version")))
        p.showVersion();

    CommandLine cl;
    if (const auto u = units::parseKs(p.value(unit)))
        cl.options.ksUnit = *u;
    else
        return fail(QStringLiteral("unknown unit of Ks: %1").arg(p.value(unit)));
    if (const auto u = units::parsePsi(p.value(psiUnit)))
        cl.options.psiUnit = *u;
    else
        return fail(QStringLiteral("unknown unit of Psi_m: %1").arg(p.value(psiUnit)));
    if (const auto r = sitestats::parseRule(p.value(rule)))
        cl.options.rule = *r;
    else
        return fail(QStringLiteral("unknown rule: %1").arg(p.value(rule)));

    bool ok = false;
    cl.options.safetyFactor = p.value(safety).toDouble(&ok);
    if (!ok || !std::isfinite(cl.options.safetyFactor) || cl.options.safetyFactor <= 0)
        return fail(QStringLiteral("the safety factor must be a positive number: %1").arg(p.value(safety)));
    QString x = p.value(precision).trimmed();
    if (x.endsWith(QChar('%')))
        x.chop(1);
    const double percent = x.toDouble(&ok);
    if (!ok || !std::isfinite(percent) || percent <= 0)
        return fail(QStringLiteral("the precision must be a positive number of percent: %1").arg(p.value(precision)));
    cl.options.precision = percent / 100.0;
    cl.options.includeFlagged = p.isSet(includeFlagged);

    if (p.isSet(csv) && p.isSet(readings))
        return fail(QStringLiteral("--csv and --readings exclude each other"));
    cl.output = p.isSet(csv) ? Output::Csv : p.isSet(readings) ? Output::Readings : Output::Readable;
    cl.reports = p.positionalArguments();
    if (cl.reports.isEmpty())
        return fail(QStringLiteral("no report given"));
    cl.pdf = p.value(pdf);
    if (p.isSet(pdf) && (cl.pdf.isEmpty() || cl.reports.size() != 1 || cl.output != Output::Readable))
        return fail(QStringLiteral("--pdf takes a file name and exactly one report, without --csv or --readings"));
    return cl;
}

// A figure in the readable block, written as the analysis window and the
// printed report write it, with "." as separator.
QString readable(const sitestats::Figure& f)
{
    const QString v = figuretext::shown(f.value, f.kind, QLocale::c());
    return f.unit.isEmpty() || !std::isfinite(f.value) ? v : v + QChar(' ') + f.unit;
}

QString readableBlock(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o)
{
    QString out = file + QChar('\n');
    for (const sitestats::Figure& f : sitestats::figures(a, o))
        out += QStringLiteral("  %1 %2\n").arg(f.label, -44).arg(readable(f));
    return out;
}

} // namespace

// The PDF is painted, chart included, so it needs the widget application;
// with no display the painting goes off screen.
bool wantsPdf(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--pdf") == 0 || qstrncmp(argv[i], "--pdf=", 6) == 0)
            return true;
    return false;
}

int main(int argc, char** argv)
{
    const bool painting = wantsPdf(argc, argv);
    if (painting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(painting ? new QApplication(argc, argv)
                                                         : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("velstat"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    QTextStream out(stdout), err(stderr);

    QString why;
    const auto cl = parseCommandLine(QCoreApplication::arguments(), &why);
    if (!cl) {
        err << "velstat: " << why << "\n"
            << "usage: velstat [--unit U] [--psi-unit U] [--rule gm|median|trimmed-median|mean|min] "
               "[--safety-factor F] [--precision X] [--include-flagged] [--csv | --readings] REPORT...\n"
               "       velstat --pdf OUT.pdf [options] REPORT\n";
        return 2;
    }

    if (!cl->pdf.isEmpty()) {
        if (sitereport::writeSitePdf(cl->reports.first(), cl->options, cl->pdf, &why))
            return 0;
        err << "velstat: " << cl->reports.first() << ": " << why << "\n";
        return 1;
    }

    int status = 0;
    if (cl->output == Output::Csv)
        out << sitecsv::summaryHeader();
    else if (cl->output == Output::Readings)
        out << sitecsv::readingsHeader();
    bool first = true;
    for (const QString& file : cl->reports) {
        QList<sitestats::Reading> readings;
        if (!sitestats::loadReport(file, &readings, &why)) {
            out.flush();
            err << "velstat: " << file << ": " << why << "\n";
            err.flush();
            status = 1;
            continue;
        }
        const sitestats::Analysis a = sitestats::analyse(readings, cl->options);
        switch (cl->output) {
        case Output::Csv: out << sitecsv::summaryRow(file, a, cl->options); break;
        case Output::Readings: out << sitecsv::readingsRows(file, a, cl->options); break;
        case Output::Readable:
            out << (first ? "" : "\n") << readableBlock(file, a, cl->options);
            first = false;
            break;
        }
    }
    return status;
}
