// velstat: the site figures of many engine reports at once, for a console or
// a spreadsheet. Reads reports only; writes to standard output, complaints to
// standard error.
//
// Exit status: 0 when every report was read, 1 when one or more files were not
// reports (the others are still processed), 2 for a command-line error.
#include "encoding.h"
#include "report.h"
#include "figuretext.h"
#include "sitecsv.h"
#include "sitereport.h"
#include "sitestats.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

using namespace veldesk;

namespace {

enum class Output { Readable, Csv, Readings };

struct CommandLine {
    sitestats::Options options;
    Output output = Output::Readable;
    // The report files and directories as the command line named them: the
    // bytes of each name, which need not be valid in any character set.
    QList<QByteArray> reports;
    QString pdf; // --pdf: the printed site report of the one REPORT
    bool header = true;
};

// The bytes of each positional argument. The parser sees the arguments
// decoded, and a name that is not valid UTF-8 (a Latin-1 "lat1\xe9.out")
// decodes to a text that names no file; each positional argument is matched,
// in order, with the raw argument that decodes to it.
QList<QByteArray> rawPositional(const QStringList& positional, int argc, char** argv)
{
    QList<QByteArray> out;
    int next = 1;
    for (const QString& arg : positional) {
        int i = next;
        while (i < argc && QString::fromLocal8Bit(argv[i]) != arg)
            ++i;
        if (i < argc) {
            out << QByteArray(argv[i]);
            next = i + 1;
        } else {
            out << arg.toLocal8Bit(); // not expected: every argument came from argv
        }
    }
    return out;
}

// Every option of the program: one place to read the command line, so that a
// new option is one more entry here and one more field of CommandLine.
std::optional<CommandLine> parseCommandLine(int argc, char** argv, QString* error)
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
                                  QStringLiteral("Rule of the design value: gm, median, trimmed-mean, mean or min "
                                                 "(default gm)."),
                                  QStringLiteral("R"), QStringLiteral("gm"));
    const QCommandLineOption safety(QStringLiteral("safety-factor"),
                                    QStringLiteral("The design value is the rule's figure divided by F (default 1)."),
                                    QStringLiteral("F"), QStringLiteral("1"));
    const QCommandLineOption precision(QStringLiteral("precision"),
                                       QStringLiteral("Tests needed for the geometric mean within +-X percent at 95 % "
                                                      "confidence, 0.1 to 1000 (default 20)."),
                                       QStringLiteral("X"), QStringLiteral("20"));
    const QCommandLineOption includeFlagged(QStringLiteral("include-flagged"),
                                            QStringLiteral("Let W-marked readings enter the statistics."));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("One CSV row per report."));
    const QCommandLineOption readings(QStringLiteral("readings"), QStringLiteral("One CSV row per reading."));
    const QCommandLineOption noHeader(QStringLiteral("no-header"),
                                      QStringLiteral("Leave out the CSV header line, to join the output of several "
                                                     "runs."));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Write the printed site report of the one REPORT as a PDF: figures, "
                                                "design value and Ks chart, then the report itself."),
                                 QStringLiteral("OUT.pdf"));
    p.addOptions({unit, psiUnit, rule, safety, precision, includeFlagged, csv, readings, noHeader, pdf});
    p.addPositionalArgument(QStringLiteral("REPORT"),
                            QStringLiteral("Engine reports (pd.out or a results copy), or directories: every *.out "
                                           "file below them, in sorted order."),
                            QStringLiteral("REPORT..."));

    const auto fail = [error](const QString& why) -> std::optional<CommandLine> {
        *error = why;
        return std::nullopt;
    };
    if (!p.parse(QCoreApplication::arguments()))
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
    else if (const QString why = sitestats::retiredRule(p.value(rule)); !why.isEmpty())
        return fail(QStringLiteral("--rule %1: %2").arg(p.value(rule), why));
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
    if (!ok || !(percent >= sitestats::kPrecisionMin * 100 && percent <= sitestats::kPrecisionMax * 100))
        return fail(QStringLiteral("the precision must be a number of percent from %1 to %2: %3")
                        .arg(sitestats::kPrecisionMin * 100)
                        .arg(sitestats::kPrecisionMax * 100)
                        .arg(p.value(precision)));
    cl.options.precision = percent / 100.0;
    cl.options.includeFlagged = p.isSet(includeFlagged);

    if (p.isSet(csv) && p.isSet(readings))
        return fail(QStringLiteral("--csv and --readings exclude each other"));
    cl.output = p.isSet(csv) ? Output::Csv : p.isSet(readings) ? Output::Readings : Output::Readable;
    cl.header = !p.isSet(noHeader);
    if (!cl.header && cl.output == Output::Readable)
        return fail(QStringLiteral("--no-header takes --csv or --readings"));
    cl.reports = rawPositional(p.positionalArguments(), argc, argv);
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
    return f.unit.isEmpty() || !figuretext::defined(f.value, f.kind) ? v : v + QChar(' ') + f.unit;
}

QString readableBlock(const QString& file, const sitestats::Analysis& a, const sitestats::Options& o)
{
    const QList<sitestats::Figure> figures = sitestats::figures(a, o);
    qsizetype width = 0;
    for (const sitestats::Figure& f : figures)
        width = std::max(width, sitestats::labelWithNote(f).size());
    QString out = file + QChar('\n');
    for (const sitestats::Figure& f : figures)
        out += QStringLiteral("  %1 %2\n").arg(sitestats::labelWithNote(f), -int(width)).arg(readable(f));
    return out;
}

// A name as people read it: UTF-8, or Windows-1252 when the bytes are not
// valid UTF-8, as the report's own lines are read.
QString shownName(const QByteArray& name) { return encoding::decodeText(name); }

// The whole file named by these bytes, opened as they are.
bool readBytes(const QByteArray& name, QByteArray* data, QString* why)
{
    std::FILE* f = std::fopen(name.constData(), "rb");
    if (!f) {
        *why = QStringLiteral("cannot be read (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    data->clear();
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data->append(buffer, qsizetype(got));
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        *why = QStringLiteral("cannot be read");
    return !failed;
}

// Calls visit(name) for a report file named on the command line, or for
// every *.out file below a directory: each directory's entries in the byte
// order of their names, a subdirectory where its name falls. Symbolic links
// to directories are not followed, so a link loop cannot recur. Only one
// directory's names are held at a time. A directory that cannot be listed is
// passed to complain().
template <class Visit, class Complain>
void forEachReport(const QByteArray& name, const Visit& visit, const Complain& complain)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path(name.toStdString());
    if (!fs::is_directory(path, ec)) {
        visit(name);
        return;
    }
    std::vector<std::pair<std::string, bool>> entries; // name, is a directory
    fs::directory_iterator it(path, ec);
    if (ec) {
        complain(name, QStringLiteral("cannot be listed (%1)").arg(QString::fromStdString(ec.message())));
        return;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            complain(name, QStringLiteral("cannot be listed (%1)").arg(QString::fromStdString(ec.message())));
            return;
        }
        const fs::file_status st = it->symlink_status(ec);
        const bool dir = !ec && fs::is_directory(st);
        std::string entry = it->path().filename().string();
        if (dir || (entry.size() > 4 && entry.compare(entry.size() - 4, 4, ".out") == 0))
            entries.emplace_back(std::move(entry), dir);
    }
    std::sort(entries.begin(), entries.end());
    QByteArray prefix = name;
    if (!prefix.endsWith('/'))
        prefix += '/';
    for (const auto& [entry, dir] : entries) {
        const QByteArray child = prefix + QByteArray::fromStdString(entry);
        if (dir)
            forEachReport(child, visit, complain);
        else
            visit(child);
    }
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
    QCoreApplication::setApplicationVersion(QStringLiteral(VELDESK_VERSION));
    QTextStream out(stdout), err(stderr);

    QString why;
    const auto cl = parseCommandLine(argc, argv, &why);
    if (!cl) {
        err << "velstat: " << why << "\n"
            << "usage: velstat [--unit U] [--psi-unit U] [--rule gm|median|trimmed-mean|mean|min] "
               "[--safety-factor F] [--precision X] [--include-flagged] [--csv | --readings] [--no-header] "
               "REPORT|DIRECTORY...\n"
               "       velstat --pdf OUT.pdf [options] REPORT\n";
        return 2;
    }

    int status = 0;
    // A complaint names the file by the bytes it was given, as the system
    // holds the name; the terminal shows it as it shows that name elsewhere.
    const auto complain = [&](const QByteArray& name, const QString& reason) {
        out.flush();
        err.flush();
        std::fputs("velstat: ", stderr);
        std::fwrite(name.constData(), 1, std::size_t(name.size()), stderr);
        std::fputs((QStringLiteral(": ") + reason + QChar('\n')).toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        status = 1;
    };
    const auto readReport = [&](const QByteArray& name, QStringList* lines, QList<sitestats::Reading>* readings) {
        QByteArray data;
        QString reason;
        if (!readBytes(name, &data, &reason)) {
            complain(name, reason);
            return false;
        }
        *lines = report::linesOf(data);
        if (!sitestats::readingsOfReport(*lines, readings, &reason)) {
            complain(name, reason);
            return false;
        }
        return true;
    };

    if (!cl->pdf.isEmpty()) {
        QStringList lines;
        QList<sitestats::Reading> readings;
        const QByteArray& name = cl->reports.first();
        if (!readReport(name, &lines, &readings))
            return 1;
        const auto site = sitereport::siteReport(lines, sitestats::analyse(readings, cl->options), cl->options);
        if (reportprinter::writePdf(site, cl->pdf, &why))
            return 0;
        complain(name, why);
        return 1;
    }

    if (cl->header && cl->output == Output::Csv)
        out << sitecsv::summaryHeader();
    else if (cl->header && cl->output == Output::Readings)
        out << sitecsv::readingsHeader();
    bool first = true;
    const auto visit = [&](const QByteArray& name) {
        QStringList lines;
        QList<sitestats::Reading> readings;
        if (!readReport(name, &lines, &readings))
            return;
        const QString file = shownName(name);
        const sitestats::Analysis a = sitestats::analyse(readings, cl->options);
        switch (cl->output) {
        case Output::Csv: out << sitecsv::summaryRow(file, a, cl->options); break;
        case Output::Readings: out << sitecsv::readingsRows(file, a, cl->options); break;
        case Output::Readable:
            out << (first ? "" : "\n") << readableBlock(file, a, cl->options);
            first = false;
            break;
        }
    };
    for (const QByteArray& name : cl->reports)
        forEachReport(name, visit, complain);
    return status;
}
