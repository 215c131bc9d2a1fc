#include "report.h"

#include "failure.h"

#include "atomic_file.h"
#include "encoding.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

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
        const QString name = candidate.mid(directoryPart(candidate).size());
        return candidate.compare(dataSetPath, Qt::CaseInsensitive) == 0
            || name.compare(QStringLiteral("pd.out"), Qt::CaseInsensitive) == 0;
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

std::optional<ReportRow> cutRow(const QString& line)
{
    const auto point = pointNumber(line.mid(0, 7));
    if (!point)
        return std::nullopt;
    ReportRow row;
    row.point = *point;
    row.filled = true;
    // 0-based start and length of columns 1 to 9; the flag sits at position 60.
    static constexpr int fields[9][2] = {{7, 7},  {14, 8}, {22, 8}, {30, 7}, {37, 7},
                                         {44, 7}, {51, 8}, {60, 11}, {71, -1}};
    for (int i = 0; i < 9; ++i)
        row.cells[i] = line.mid(fields[i][0], fields[i][1]);
    row.cells[9] = line.mid(59, 1);
    return row;
}

ParsedReport parseReport(const QStringList& lines, int maxRows)
{
    ParsedReport out;
    qsizetype next = 0;
    const auto fail = [&out] {
        out.error = true;
        return out;
    };
    next = 16; // the banner
    if (lines.size() < next)
        return fail();
    for (; next < 19; ++next) {
        if (next >= lines.size())
            return fail();
        out.header << lines.at(next);
    }
    next = 23; // the table header
    if (lines.size() < next)
        return fail();
    out.tableBegun = true;
    for (;; ++next) {
        if (next >= lines.size())
            return fail(); // the report ends before its footer
        const QString& line = lines.at(next);
        if (line.startsWith(QChar('-')))
            return out;
        if (out.rows.size() >= maxRows)
            return fail(); // no grid row left for this reading
        const auto row = cutRow(line);
        if (!row) {
            out.rows << ReportRow{};
            return fail();
        }
        if (row->point < 1) {
            out.rows << ReportRow{row->point, {}, false};
            out.error = row->point != 0;
            return out;
        }
        out.rows << *row;
    }
}

bool readLines(const QString& path, QStringList* lines, QString* error)
{
    QFile f(path);
    const QByteArray data = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (f.error() != QFileDevice::NoError)
        return reportFailure(error, f.errorString());
    lines->clear();
    for (const QByteArray& l : splitLines(data))
        *lines << encoding::decodeCutLine(l);
    return true;
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
