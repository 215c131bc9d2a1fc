#include "Module1.h"

#include "failure.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace veldesk {

namespace Module1 {

bool formatNumber(float x, int decimals, QString* out, QString* error)
{
    if (decimals < 0)
        return reportFailure(error, QStringLiteral("a negative number of decimals (%1)").arg(decimals));
    // nearbyint rounds half to even in the default rounding mode.
    const double scale = std::pow(10.0, decimals);
    const float r = static_cast<float>(std::nearbyint(static_cast<double>(x) * scale) / scale);
    const float i = std::trunc(r);
    QString text = std::isfinite(i) ? QString::number(std::fabs(static_cast<double>(i)), 'f', 0)
                                    : QString::number(std::fabs(static_cast<double>(i)));
    if (x < 0)
        text.prepend(QLatin1Char('-'));
    if (decimals >= 1 && decimals <= 5) {
        const float product = (r - i) * static_cast<float>(scale); // single precision on purpose
        const double f = std::nearbyint(std::fabs(static_cast<double>(product)));
        text += QLatin1Char('.');
        text += QString::number(f, 'f', 0).rightJustified(decimals, QLatin1Char('0'));
    }
    *out = text;
    return true;
}

QString formatea_numero(float x, qint16 decimals)
{
    QString text;
    formatNumber(x, decimals, &text);
    return text;
}

double valor_numero(const QString& s)
{
    QString copy = s;
    copy.replace(QLatin1Char(','), QLatin1Char('.'));
    return readNumber(copy);
}

bool fileReadable(const QString& path, QString* error)
{
    if (path.isEmpty())
        return reportFailure(error, QStringLiteral("no file name"));
    if (QFileInfo(path).isDir())
        return reportFailure(error, path + QStringLiteral(": a directory"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return reportFailure(error, path + QStringLiteral(": ") + f.errorString());
    return true;
}

qint16 existe_archivo(const QString& path)
{
    return fileReadable(path) ? 1 : 0;
}

double readNumber(const QString& s)
{
    QString t;
    t.reserve(s.size());
    for (const QChar ch : s)
        if (ch != QLatin1Char(' ') && ch != QLatin1Char('\t') && ch != QLatin1Char('\n'))
            t += ch;

    // Collect the longest leading number in the plain "C" form.
    QString num;
    int k = 0;
    const auto isDigit = [&](int at) { return at < t.size() && t.at(at) >= QLatin1Char('0') && t.at(at) <= QLatin1Char('9'); };
    if (k < t.size() && (t.at(k) == QLatin1Char('+') || t.at(k) == QLatin1Char('-')))
        num += t.at(k++);
    int mantissaDigits = 0;
    while (isDigit(k)) {
        num += t.at(k++);
        ++mantissaDigits;
    }
    if (k < t.size() && t.at(k) == QLatin1Char('.')) {
        num += t.at(k++);
        while (isDigit(k)) {
            num += t.at(k++);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;
    if (k < t.size() && QStringLiteral("EeDd").contains(t.at(k))) {
        int e = k + 1;
        QString exponent = QStringLiteral("E");
        if (e < t.size() && (t.at(e) == QLatin1Char('+') || t.at(e) == QLatin1Char('-')))
            exponent += t.at(e++);
        if (isDigit(e)) {
            while (isDigit(e))
                exponent += t.at(e++);
            num += exponent;
        }
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(num, &ok);
    if (!ok || !std::isfinite(v) || v == 0.0)
        return 0.0; // also turns -0 into 0
    return v;
}

QString generalNumber(double v, const QLocale& locale)
{
    if (!std::isfinite(v))
        return QString::number(v);
    if (v == 0.0)
        return QStringLiteral("0");
    // Round to 15 significant digits once; the digits and the decimal exponent
    // of that rounded value decide the form.
    const QString e = QString::number(std::fabs(v), 'e', 14); // d.ddddddddddddddde±XX
    const int ePos = e.indexOf(QLatin1Char('e'));
    QString digits = e.left(ePos);
    digits.remove(QLatin1Char('.'));
    const int exponent = e.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    const QString sep = locale.decimalPoint();
    QString out;
    if (exponent < -4 || exponent >= 15) {
        out = digits.left(1);
        if (digits.size() > 1)
            out += sep + digits.mid(1);
        out += QStringLiteral("E") + (exponent < 0 ? QStringLiteral("-") : QStringLiteral("+"))
            + QString::number(std::abs(exponent)).rightJustified(2, QLatin1Char('0'));
    } else if (exponent < 0) {
        out = QStringLiteral("0") + sep + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() <= exponent + 1) {
        out = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        out = digits.left(exponent + 1) + sep + digits.mid(exponent + 1);
    }
    return v < 0 ? QStringLiteral("-") + out : out;
}

} // namespace Module1

} // namespace veldesk
