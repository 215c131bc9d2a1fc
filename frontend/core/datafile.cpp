#include "datafile.h"

#include "failure.h"

#include "Module1.h"
#include "atomic_file.h"
#include "encoding.h"
#include "gridtext.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace veldesk {

namespace datafile {
namespace {

// A value as the file holds it, with 5 decimals. The engine reads a single-
// precision value; the text is the operator's own decimal number when that
// reads back to the same single-precision value ("323.8" gives "323.80000",
// not the "323.79999" of the binary value), otherwise that value rounded.
QString fmt5(double value)
{
    const float single = static_cast<float>(value);
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        QString text = QString::number(value, 'f', 5);
        if (text.startsWith(QLatin1Char('-')) && value >= 0)
            text.remove(0, 1);
        if (static_cast<float>(Module1::readNumber(text)) == single)
            return text;
    }
    return Module1::formatea_numero(single, 5);
}

// A number the way a data-set file may hold one: sign, digits with an
// optional point, an optional exponent introduced by E or D, within the
// range of single precision.
bool parseNumber(QByteArrayView token, float* out)
{
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([EeDd][+-]?\\d+)?$"));
    if (token.isEmpty() || token.size() > 64)
        return false;
    QString t = QString::fromLatin1(token);
    if (!re.match(t).hasMatch())
        return false;
    t.replace(QLatin1Char('D'), QLatin1Char('E')).replace(QLatin1Char('d'), QLatin1Char('E'));
    bool ok = false;
    *out = static_cast<float>(QLocale::c().toDouble(t, &ok));
    // Beyond single precision ("1E40") there is no value to show or save.
    return ok && std::isfinite(*out);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Text files hold no NUL and none of the other control characters but tab,
// line ends, form feed, vertical tab and the old end-of-file mark.
bool looksLikeText(QByteArrayView bytes)
{
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v' && b != 0x1A)
            return false;
    }
    return true;
}

// The bytes of the line starting at *pos, without its end; *pos moves past
// the line end. No value when *pos is at the end.
std::optional<QByteArrayView> takeLine(QByteArrayView bytes, qsizetype* pos)
{
    if (*pos >= bytes.size())
        return std::nullopt;
    qsizetype end = *pos;
    while (end < bytes.size() && !isLineEnd(bytes[end]))
        ++end;
    const QByteArrayView line = bytes.sliced(*pos, end - *pos);
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
        ++end;
    *pos = end < bytes.size() ? end + 1 : end;
    return line;
}

// Numbers of the readings, separated by blanks, commas and line ends.
class Tokens {
public:
    Tokens(QByteArrayView bytes, qsizetype pos) : m_bytes(bytes), m_pos(pos) {}
    std::optional<QByteArrayView> next()
    {
        const auto separator = [](char c) { return isBlank(c) || isLineEnd(c) || c == ',' || c == '\f' || c == '\v'; };
        while (m_pos < m_bytes.size() && separator(m_bytes[m_pos]))
            ++m_pos;
        if (m_pos >= m_bytes.size())
            return std::nullopt;
        const qsizetype start = m_pos;
        while (m_pos < m_bytes.size() && !separator(m_bytes[m_pos]))
            ++m_pos;
        return m_bytes.sliced(start, m_pos - start);
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos;
};

// Three numbers, or the reason there are none: the end of the bytes (true in
// *ended) or something that is not a number.
bool nextReading(Tokens& tokens, float v[3], bool* ended)
{
    *ended = false;
    for (int j = 0; j < 3; ++j) {
        const auto token = tokens.next();
        if (!token) {
            *ended = true;
            return false;
        }
        if (!parseNumber(*token, &v[j]))
            return false;
    }
    return true;
}

// A row holds data when a cell holds anything but blanks or a plain zero
// (which the grid itself puts into a cell the cursor has passed).
bool holdsData(const Row& row)
{
    static const QRegularExpression zero(QStringLiteral("^\\s*[+-]?(0+[.,]?0*|[.,]0+)?\\s*$"));
    for (const QString& cell : row)
        if (!zero.match(cell).hasMatch())
            return true;
    return false;
}

QByteArray descriptionBytes(const QString& description)
{
    if (const auto bytes = encoding::toWindows1252(description))
        return *bytes;
    QByteArray out;
    for (const QChar ch : description)
        out += encoding::windows1252Byte(ch.unicode()).value_or('?');
    return out;
}

} // namespace

Extent extent(const QList<Row>& gridRows)
{
    Extent e;
    qsizetype r = 0;
    for (; r < gridRows.size(); ++r) {
        const Row& row = gridRows.at(r);
        bool ends = false;
        QList<CellAt> notNumbers;
        for (int c = 0; c < 3; ++c) {
            const gridtext::Reading v = gridtext::readCell(row[c]);
            if (v.kind == gridtext::Reading::Empty || (v.kind == gridtext::Reading::Number && v.value == 0))
                ends = true;
            else if (v.kind == gridtext::Reading::Unreadable)
                notNumbers.append({static_cast<int>(r) + 1, c + 1, row[c]});
        }
        if (ends)
            break;
        e.notNumbers += notNumbers;
        ++e.saved;
    }
    for (; r < gridRows.size(); ++r) {
        if (!holdsData(gridRows.at(r)))
            continue;
        if (e.leftOutWithData++ == 0)
            e.firstLeftOut = static_cast<int>(r) + 1;
    }
    return e;
}

bool checkDescription(const QString& description, QString* problem)
{
    const auto refuse = [problem](const QString& why) { return reportFailure(problem, why); };
    const QString rule = QStringLiteral(
        " (The engine reads a description up to its first blank, comma or slash; one that begins with"
        " an apostrophe or a double quote it reads up to the matching closing one.)");
    if (description.contains(QLatin1Char('\n')) || description.contains(QLatin1Char('\r')))
        return refuse(QStringLiteral("The description must be one line."));
    if (description.trimmed().isEmpty())
        return refuse(QStringLiteral("The description is empty. The engine skips an empty description line and would"
                                     " read the pipe dimensions as the description and every value after them in the"
                                     " wrong place. Please enter a description.")
            + rule);
    // Control characters other than tab would make a file that Open takes
    // for binary.
    QString unstorable;
    for (const QChar ch : description)
        if (ch.unicode() < 0x20 && ch != QLatin1Char('\t') && unstorable.isEmpty())
            unstorable = ch;
    if (!unstorable.isEmpty() || !encoding::toWindows1252(description, &unstorable))
        return refuse(QStringLiteral("The description holds the character \"%1\" (U+%2), which a data-set file cannot"
                                     " store. Please replace it.")
            .arg(unstorable)
            .arg(QString::number(unstorable.toUcs4().value(0), 16).toUpper().rightJustified(4, QLatin1Char('0'))));

    // Blanks and tabs before the item are skipped, as the engine does.
    qsizetype i = 0;
    while (i < description.size() && (description.at(i) == QLatin1Char(' ') || description.at(i) == QLatin1Char('\t')))
        ++i;
    const QChar quote = description.at(i);
    if (quote != QLatin1Char('\'') && quote != QLatin1Char('"'))
        return true;
    for (++i; i < description.size(); ++i) {
        if (description.at(i) != quote)
            continue;
        if (i + 1 < description.size() && description.at(i + 1) == quote)
            ++i; // a doubled quote stands for itself
        else
            return true;
    }
    return refuse(QStringLiteral("The description begins with %1 and never closes it. The engine would read the pipe"
                                 " dimensions and the readings as part of the description. Close the quote, or begin"
                                 " the description with another character.")
               .arg(quote == QLatin1Char('"') ? QStringLiteral("a double quote (\")")
                                               : QStringLiteral("an apostrophe (')"))
        + rule);
}

QByteArray compose(const QString& description, const QString& riText, const QString& h0Text,
                   const QList<Row>& gridRows)
{
    QByteArray bytes = descriptionBytes(description) + "\r\n";
    bytes += (fmt5(Module1::valor_numero(riText)) + QStringLiteral(" , ") + fmt5(Module1::valor_numero(h0Text)))
                 .toLatin1()
        + "\r\n";
    // A cell that is not one number is never written as one: the readings
    // end before its row (Save refuses such a grid before it gets here).
    const Extent e = extent(gridRows);
    const int n = e.notNumbers.isEmpty() ? e.saved : e.notNumbers.first().row - 1;
    for (int r = 0; r < n; ++r) {
        const Row& row = gridRows.at(r);
        bytes += (fmt5(gridtext::readCell(row[0]).value) + QLatin1Char(' ') + fmt5(gridtext::readCell(row[1]).value)
                  + QLatin1Char(' ') + fmt5(gridtext::readCell(row[2]).value))
                     .toLatin1()
            + "\r\n";
    }
    return bytes;
}

bool write(const QString& path, const QByteArray& bytes, QString* error)
{
    return writeAtomically(path, bytes, error);
}

QString refusalText(Refusal why)
{
    switch (why) {
    case Refusal::None: return {};
    case Refusal::Empty: return QStringLiteral("the file is empty");
    case Refusal::NotText: return QStringLiteral("it is not a text file");
    case Refusal::NoPipeDimensions: return QStringLiteral("it has no second line with the pipe dimensions");
    case Refusal::PipeDimensionsNotNumbers:
        return QStringLiteral("its second line does not begin with the pipe dimensions ri and h0 as two numbers");
    case Refusal::ThirdNumber:
        return QStringLiteral("its second line holds more than the two pipe dimensions ri and h0"
                              " (a data-set file takes \".\" as the decimal separator, never \",\")");
    }
    return {};
}

int decimalsFor(float value, int least)
{
    // A field time such as 323.8 has no exact binary form: its five-decimal
    // text is 323.79999, which nobody typed. The shortest text that reads back
    // to the very single-precision value the engine will read is what the
    // operator wrote.
    for (int d = std::max(least, 0); d < 5; ++d)
        if (static_cast<float>(Module1::readNumber(Module1::formatea_numero(value, d))) == value)
            return d;
    // No text of 5 decimals or fewer holds the value (0.1234567): as many
    // decimals as its five-decimal form, which Save writes, needs.
    const QString text = Module1::formatea_numero(value, 5);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return least;
    qsizetype last = text.size() - 1;
    while (last > point && text.at(last) == QLatin1Char('0'))
        --last;
    return std::max(least, static_cast<int>(last - point));
}

namespace {

// A value as Open shows it: the decimals it needs, and no sign on a value that
// rounds to zero, since Save writes that as a plain zero.
QString shownValue(float value, int least)
{
    QString text = Module1::formatea_numero(value, decimalsFor(value, least));
    if (text.startsWith(QLatin1Char('-')) && Module1::valor_numero(text) == 0)
        text.remove(0, 1);
    return text;
}

} // namespace

Loaded parse(const QByteArray& input, bool whole)
{
    Loaded out;
    out.opened = true;
    QByteArrayView bytes(input);
    if (bytes.isEmpty())
        return out; // Refusal::Empty
    if (!looksLikeText(bytes)) {
        out.refusal = Refusal::NotText;
        return out;
    }
    if (!whole) {
        qsizetype end = bytes.size();
        while (end > 0 && !isLineEnd(bytes[end - 1]))
            --end;
        bytes = bytes.first(end);
    }

    qsizetype pos = 0;
    const auto record1 = takeLine(bytes, &pos); // none: the first line is longer than what was read
    const auto record2 = takeLine(bytes, &pos);
    if (!record1 || !record2) {
        out.refusal = Refusal::NoPipeDimensions;
        return out;
    }
    // "ri , h0": two values, separated by a comma, blanks or both. A third
    // number is the mark of decimal commas ("0,018 , 0,30"); other text
    // after the two values is not read.
    static const QRegularExpression pipeSeparator(QStringLiteral("\\s*,\\s*|\\s+"));
    const QStringList values = QString::fromLatin1(*record2).trimmed().split(pipeSeparator);
    float unused = 0;
    if (values.size() < 2 || !parseNumber(values.at(0).toLatin1(), &unused)
        || !parseNumber(values.at(1).toLatin1(), &unused)) {
        out.refusal = Refusal::PipeDimensionsNotNumbers;
        return out;
    }
    if (values.size() > 2 && parseNumber(values.at(2).toLatin1(), &unused)) {
        out.refusal = Refusal::ThirdNumber;
        return out;
    }
    out.refusal = Refusal::None;
    out.description = encoding::decodeText(*record1);
    out.ri = values.at(0);
    out.h0 = values.at(1);

    Tokens tokens(bytes, pos);
    float v[3];
    bool ended = false;
    float p = 1.0f;
    while (p > 0 && out.readings.size() < kMaxReadings && nextReading(tokens, v, &ended)) {
        p = static_cast<float>(static_cast<double>(v[0]) * v[1] * v[2]);
        out.readings.append({shownValue(v[0], 3), shownValue(v[1], 1), shownValue(v[2], 1)});
    }
    const bool cut = ended && !whole; // the file goes on beyond what was read
    if (p > 0 && out.readings.size() == kMaxReadings) {
        if (nextReading(tokens, v, &ended) || (ended && !whole))
            out.unshown = Unshown::BeyondGrid;
    } else if (cut || !ended) {
        // Stopped at a product of 0 or below, or at a value that is not a
        // number: whatever follows is not shown.
        if (cut || p > 0 || tokens.next())
            out.unshown = Unshown::AfterStop;
    }
    return out;
}

Loaded read(const QString& path)
{
    if (!Module1::fileReadable(path))
        return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.read(kReadLimit);
    return parse(bytes, bytes.size() < kReadLimit || f.atEnd());
}

} // namespace datafile

} // namespace veldesk
