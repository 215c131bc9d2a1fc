#include "datafile.h"

#include "Module1.h"
#include "atomic_file.h"

#include <QFile>
#include <QRegularExpression>

namespace datafile {
namespace {

QString fmt5(double value)
{
    return Module1::formatea_numero(static_cast<float>(value), 5);
}

// A number the way a data-set file may hold one: sign, digits with an
// optional point, an optional exponent introduced by E or D.
bool parseNumber(const QString& token, float* out)
{
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([EeDd][+-]?\\d+)?$"));
    if (!re.match(token).hasMatch())
        return false;
    QString t = token;
    t.replace(QLatin1Char('D'), QLatin1Char('E')).replace(QLatin1Char('d'), QLatin1Char('E'));
    bool ok = false;
    *out = static_cast<float>(QLocale::c().toDouble(t, &ok));
    return ok;
}

} // namespace

QByteArray compose(const QString& description, const QString& riText, const QString& h0Text,
                   const QList<Row>& gridRows)
{
    QStringList lines;
    lines << description;
    lines << fmt5(Module1::valor_numero(riText)) + QStringLiteral(" , ")
            + fmt5(Module1::valor_numero(h0Text));
    for (const Row& row : gridRows) {
        const double a = Module1::valor_numero(row[0]);
        const double b = Module1::valor_numero(row[1]);
        const double c = Module1::valor_numero(row[2]);
        if (a == 0 || b == 0 || c == 0)
            break;
        lines << fmt5(a) + QLatin1Char(' ') + fmt5(b) + QLatin1Char(' ') + fmt5(c);
    }
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

bool write(const QString& path, const QByteArray& bytes)
{
    return writeAtomically(path, bytes);
}

Loaded parse(const QByteArray& bytes)
{
    Loaded out;
    out.opened = true;
    const QString text = QString::fromLatin1(bytes);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));

    // Records 1 and 2 are whole lines.
    qsizetype pos = 0;
    const auto nextLine = [&](QString* line) {
        if (pos >= text.size())
            return false;
        const QRegularExpressionMatch m = lineEnd.match(text, pos);
        const qsizetype end = m.hasMatch() ? m.capturedStart() : text.size();
        *line = text.mid(pos, end - pos);
        pos = m.hasMatch() ? m.capturedEnd() : text.size();
        return true;
    };
    QString line;
    if (!nextLine(&line))
        return out;
    out.hasDescription = true;
    out.description = line;
    if (!nextLine(&line))
        return out;
    // "ri , h0": the first two values, separated by a comma, blanks or both;
    // anything after the second value is not part of it.
    static const QRegularExpression pipeSeparator(QStringLiteral("\\s*,\\s*|\\s+"));
    const QStringList values = line.trimmed().split(pipeSeparator);
    out.hasPipe = true;
    out.ri = values.value(0);
    out.h0 = values.value(1);

    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    const QStringList tokens = text.mid(pos).split(separators, Qt::SkipEmptyParts);
    float p = 1.0f;
    for (qsizetype k = 0; p > 0 && out.readings.size() < kMaxReadings && k + 2 < tokens.size(); k += 3) {
        float v[3];
        for (int j = 0; j < 3; ++j)
            if (!parseNumber(tokens.at(k + j), &v[j]))
                return out;
        p = static_cast<float>(static_cast<double>(v[0]) * v[1] * v[2]);
        out.readings.append({Module1::formatea_numero(v[0], 3), Module1::formatea_numero(v[1], 1),
                             Module1::formatea_numero(v[2], 1)});
    }
    return out;
}

Loaded read(const QString& path)
{
    if (Module1::existe_archivo(path) == 0)
        return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return parse(f.readAll());
}

} // namespace datafile
