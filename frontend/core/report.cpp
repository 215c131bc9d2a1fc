#include "report.h"

#include "failure.h"

#include "atomic_file.h"
#include "encoding.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

namespace veldesk {

namespace report {

namespace {

// Lines of 8-bit text without their ends. The engine ends its lines with
// CR LF; a file edited elsewhere may use LF or CR alone.
QList<QByteArray> splitLines(const QByteArray& data)
{
    QList<QByteArray> out;
    qsizetype start = 0;
    const qsizetype n = data.size();
    qsizetype i = 0;
    while (i < n) {
        const char ch = data.at(i);
        if (ch == '\r' || ch == '\n') {
            out << data.mid(start, i - start);
            if (ch == '\r' && i + 1 < n && data.at(i + 1) == '\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n)
        out << data.mid(start);
    return out;
}

} // namespace

QString directoryPart(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QChar('\\')), path.lastIndexOf(QChar('/')));
    return path.left(cut + 1);
}

QString reportPathFor(const QString& dataSetPath)
{
    return directoryPart(dataSetPath) + QStringLiteral("pd.out");
}

bool hasReportName(const QString& path)
{
    return path.mid(directoryPart(path).size()).compare(QStringLiteral("pd.out"), Qt::CaseInsensitive) == 0;
}

QString resultsCopyPathFor(const QString& dataSetPath)
{
    // Only a "." in the file name itself starts an extension: one in a folder
    // name ("camp.2024/plot7") would put the copy into the parent folder, and
    // the leading "." of a hidden file's name is part of the name.
    const qsizetype nameStart = directoryPart(dataSetPath).size();
    const qsizetype dot = dataSetPath.lastIndexOf(QChar('.'));
    QString copy = dot <= nameStart ? dataSetPath + QStringLiteral(".out")
                                    : dataSetPath.left(dot + 1) + QStringLiteral("out");
    // The copy must never replace the readings ("site.out" would be its own
    // copy) nor be the engine's report, which the next evaluation deletes
    // ("pd.pd"). Names are compared without regard to case, as a Windows disk
    // or a USB stick does. ".out" appended to the data set's name differs
    // from both, except for a data set named "pd", which gets one more.
    const auto clashes = [&dataSetPath](const QString& candidate) {
        return candidate.compare(dataSetPath, Qt::CaseInsensitive) == 0 || hasReportName(candidate);
    };
    if (clashes(copy))
        copy = dataSetPath + QStringLiteral(".out");
    while (clashes(copy))
        copy += QStringLiteral(".out");
    return copy;
}

std::optional<qint16> pointNumber(const QString& field)
{
    const QString t = field.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok); // "." as the separator, whatever the locale
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v); // the default rounding mode: ties to even
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(r);
}

ReportRow cutRow(const QString& line)
{
    ReportRow row;
    for (int f = 0; f < kFieldCount; ++f)
        row.fields[f] = line.mid(kColumns[f].start, kColumns[f].width);
    row.point = pointNumber(row.fields[Point]);
    return row;
}

double ReportRow::value(Field f) const { return fieldValue(fields[f]); }

double fieldValue(const QString& text)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const QString t = text.trimmed();
    if (t.isEmpty())
        return nan;
    if (t.contains(QLatin1Char('I'))) {
        if (t == QLatin1String("Infinity") || t == QLatin1String("Inf"))
            return inf;
        if (t == QLatin1String("-Infinity") || t == QLatin1String("-Inf"))
            return -inf;
    }
    bool ok = false;
    double v = t.toDouble(&ok); // "." whatever the locale; "NaN" reads as NaN
    if (ok)
        return v;
    // A scientific field whose exponent needs three digits drops the "E":
    // "0.1234-100" is 0.1234E-100. The sign that starts the exponent is the
    // last "+" or "-" after the mantissa's point.
    const qsizetype point = t.indexOf(QChar('.'));
    const qsizetype sign = std::max(t.lastIndexOf(QChar('-')), t.lastIndexOf(QChar('+')));
    if (point < 0 || sign <= point + 1 || sign == t.size() - 1)
        return nan;
    const QString mantissa = t.left(sign), exponent = t.mid(sign);
    for (QChar c : QStringView(exponent).mid(1))
        if (!c.isDigit())
            return nan;
    v = (mantissa + QLatin1Char('E') + exponent).toDouble(&ok);
    return ok ? v : nan;
}

ParsedReport parseReport(const QStringList& lines)
{
    ParsedReport out;
    for (qsizetype i = 16; i < 19 && i < lines.size(); ++i) // after the banner's 16 lines
        out.header << lines.at(i);
    if (lines.size() < 23) // the table header ends with line 23
        return out;
    out.tableBegun = true;
    for (qsizetype i = 23; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.startsWith(QChar('-'))) {
            out.complete = true;
            return out;
        }
        out.rows << cutRow(line);
    }
    return out; // the report ends before its footer
}

GridLoad gridLoad(const ParsedReport& parsed, int maxRows)
{
    GridLoad g;
    for (const ReportRow& row : parsed.rows) {
        if (g.filled >= maxRows) {
            g.error = true; // no grid row left for this reading
            return g;
        }
        if (!row.isReading()) {
            g.stopRow = true;
            g.error = !row.point || *row.point != 0;
            return g;
        }
        ++g.filled;
    }
    g.error = !parsed.complete;
    return g;
}

bool readLines(const QString& path, QStringList* lines, QString* error)
{
    QFile f(path);
    const QByteArray data = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (f.error() != QFileDevice::NoError)
        return reportFailure(error, f.errorString());
    *lines = linesOf(data);
    return true;
}

QStringList linesOf(const QByteArray& data)
{
    QStringList lines;
    for (const QByteArray& l : splitLines(data))
        lines << encoding::decodeCutLine(l);
    return lines;
}

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

bool copiar(const QString& forigen, const QString& fdest, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QFile src(forigen);
    if (!src.open(QIODevice::ReadOnly))
        return fail(forigen + QStringLiteral(": ") + src.errorString());
    // A copy onto itself would at best rewrite the same lines; leave it alone.
    if (sameFile(forigen, fdest))
        return true;
    const QByteArray data = src.readAll();
    if (src.error() != QFileDevice::NoError)
        return fail(forigen + QStringLiteral(": ") + src.errorString());
    src.close();

    QByteArray copy;
    for (const QByteArray& line : splitLines(data))
        copy += line + "\r\n";
    return writeAtomically(fdest, copy, error);
}

} // namespace report

} // namespace veldesk
