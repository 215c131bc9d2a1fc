#include "gridtext.h"

#include "Module1.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <limits>

namespace veldesk {

namespace gridtext {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool allDigits(QStringView s)
{
    for (const QChar c : s)
        if (!isDigit(c))
            return false;
    return true;
}

// Blanks that spreadsheets and regional formats put between digit groups.
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00a0) || c == QChar(0x202f) || c == QChar(0x2007);
}

bool isGroupSeparator(QChar c, const QString& localeGroup)
{
    return isBlank(c) || (localeGroup.size() == 1 && c == localeGroup.at(0));
}

// s holds only digits and group separators. Its digits when it is a plain run
// of digits or a correctly grouped one: a first group of 1 to 3 digits that
// does not begin with 0, then groups of exactly 3. Otherwise no digits.
bool groupedDigits(QStringView s, const QString& localeGroup, QString* digits)
{
    QList<QStringView> groups;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i == s.size() || isGroupSeparator(s.at(i), localeGroup)) {
            groups << s.mid(from, i - from);
            from = i + 1;
        }
    }
    for (const QStringView g : groups)
        if (g.isEmpty() || !allDigits(g))
            return false;
    if (groups.size() > 1) {
        if (groups.first().size() > 3 || groups.first().at(0) == QLatin1Char('0'))
            return false;
        for (qsizetype i = 1; i < groups.size(); ++i)
            if (groups.at(i).size() != 3)
                return false;
    }
    digits->clear();
    for (const QStringView g : groups)
        *digits += g;
    return true;
}

bool isControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0); }

} // namespace

QList<QStringList> splitRows(const QString& text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            lines << line;
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.isEmpty())
        lines << line;
    QList<QStringList> rows;
    rows.reserve(lines.size());
    for (const QString& l : lines)
        rows << l.split(QLatin1Char('\t'));
    return rows;
}

int rowsLeftOut(const QList<QStringList>& rows, int gridRows)
{
    for (qsizetype last = rows.size() - 1; last >= gridRows; --last) {
        for (const QString& cell : rows.at(last))
            if (!cell.trimmed().isEmpty())
                return int(last + 1 - gridRows);
    }
    return 0;
}

namespace {

// The reading shared by pasted text and cell text; `group` is the one
// character besides blanks taken as a digit-group separator ("" for none).
Reading readNumberText(const QString& cell, const QString& group)
{
    const Reading unreadable{Reading::Unreadable, 0};
    QString t = cell.trimmed();
    if (t.isEmpty())
        return {};
    if (t.endsWith(QLatin1Char('s'))) { // seconds, as in "12 s"
        t.chop(1);
        t = t.trimmed();
    }
    qsizetype k = 0;
    QString canonical;
    if (k < t.size() && (t.at(k) == QLatin1Char('+') || t.at(k) == QLatin1Char('-') || t.at(k) == QChar(0x2212))) {
        if (t.at(k) != QLatin1Char('+'))
            canonical += QLatin1Char('-');
        ++k;
    }
    qsizetype m = k;
    while (m < t.size()
           && (isDigit(t.at(m)) || t.at(m) == QLatin1Char('.') || t.at(m) == QLatin1Char(',')
               || isGroupSeparator(t.at(m), group)))
        ++m;
    const QStringView mantissa = QStringView(t).mid(k, m - k);
    const QStringView rest = QStringView(t).mid(m);
    if (mantissa.isEmpty() || isBlank(mantissa.front()) || isBlank(mantissa.back()))
        return unreadable;

    // The last point or comma is the decimal separator, unless it is the
    // regional group separator and the whole mantissa is correctly grouped.
    QString whole, fraction;
    const qsizetype p = std::max(mantissa.lastIndexOf(QLatin1Char('.')), mantissa.lastIndexOf(QLatin1Char(',')));
    if (p < 0 || (group == mantissa.at(p) && groupedDigits(mantissa, group, &whole))) {
        if (!groupedDigits(mantissa, group, &whole))
            return unreadable;
    } else {
        const QStringView before = mantissa.left(p);
        fraction = mantissa.mid(p + 1).toString();
        if (!allDigits(fraction) || before.contains(mantissa.at(p)))
            return unreadable;
        if (!before.isEmpty() && !groupedDigits(before, group, &whole))
            return unreadable;
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return unreadable;
    canonical += whole.isEmpty() ? QStringLiteral("0") : whole;
    if (!fraction.isEmpty())
        canonical += QLatin1Char('.') + fraction;

    if (!rest.isEmpty()) { // an exponent, E or D as the engine's files write it
        static const QRegularExpression exponent(QStringLiteral("^[EeDd]([-+]?[0-9]+)$"));
        const auto match = exponent.match(rest.toString());
        if (!match.hasMatch())
            return unreadable;
        canonical += QLatin1Char('e') + match.captured(1);
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(canonical, &ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max())
        return unreadable;
    return {Reading::Number, v == 0.0 ? 0.0 : v};
}

} // namespace

Reading readPasted(const QString& cell, const QLocale& locale)
{
    return readNumberText(cell, locale.groupSeparator());
}

Reading readCell(const QString& cell)
{
    return readNumberText(cell, QString());
}

Cleaned typedCell(const QString& buffer, const QLocale& locale)
{
    const Reading r = readPasted(buffer, locale);
    switch (r.kind) {
    case Reading::Empty: return {Module1::generalNumber(0, locale), false};
    case Reading::Number: return {Module1::generalNumber(r.value, locale), false};
    case Reading::Unreadable: break;
    }
    QString text;
    for (const QChar c : buffer)
        if (!isControl(c))
            text += c;
    return {text, true};
}

QString shownAsSaved(double v, const QLocale& locale)
{
    const QString saved = Module1::formatea_numero(static_cast<float>(v), 5);
    const float f = static_cast<float>(Module1::readNumber(saved));
    // The shortest decimal form of that single-precision value.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, f).ptr;
    const double shortest = QByteArray(buffer, end - buffer).toDouble();
    return Module1::generalNumber(shortest == 0.0 ? 0.0 : shortest, locale);
}

Cleaned cleanCell(const QString& cell, const QLocale& locale)
{
    QString text;
    text.reserve(cell.size());
    for (const QChar c : cell)
        if (!isControl(c))
            text += c;
    const Reading r = readPasted(text, locale);
    switch (r.kind) {
    case Reading::Empty: return {};
    case Reading::Number: return {shownAsSaved(r.value, locale), false};
    case Reading::Unreadable: break;
    }
    return {text, true};
}

QString forOtherPrograms(const QString& gridText, const QLocale& locale, const QString& lineEnd)
{
    const QString separator = locale.decimalPoint();
    QStringList rows = gridText.split(QLatin1Char('\r'));
    if (separator != QLatin1String(".")) {
        static const QRegularExpression number(
            QStringLiteral("^(\\s*[-+]?)([0-9]*)\\.([0-9]*)((?:[EeDd][-+]?[0-9]+)?\\s*)$"));
        for (QString& row : rows) {
            QStringList cells = row.split(QLatin1Char('\t'));
            for (QString& cell : cells) {
                const auto m = number.match(cell);
                if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0))
                    continue;
                cell = m.captured(1) + m.captured(2)
                    + (m.capturedLength(3) > 0 ? separator + m.captured(3) : QString()) + m.captured(4);
            }
            row = cells.join(QLatin1Char('\t'));
        }
    }
    return rows.join(lineEnd);
}

} // namespace gridtext

} // namespace veldesk
