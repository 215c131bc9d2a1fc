#include "encoding.h"

#include <QStringDecoder>

namespace veldesk {

namespace encoding {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five undefined ones.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t charOf(unsigned char byte)
{
    if (byte < 0x80 || byte > 0x9F)
        return byte;
    const char16_t mapped = kHigh[byte - 0x80];
    return mapped ? mapped : char16_t(byte);
}

// Length of the sequence a UTF-8 lead byte begins; 0 for a byte that cannot
// begin one.
int sequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

std::optional<char> windows1252Byte(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<char>(ch);
    for (int i = 0; i < 32; ++i) {
        const char16_t mapped = kHigh[i];
        if (mapped ? mapped == ch : ch == char32_t(0x80 + i))
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

std::optional<QByteArray> toWindows1252(const QString& text, QString* unstorable)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t ch = text.at(i).unicode();
        qsizetype width = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            width = 2;
        }
        const std::optional<char> byte = windows1252Byte(ch);
        if (!byte) {
            if (unstorable)
                *unstorable = text.mid(i, width);
            return std::nullopt;
        }
        out += *byte;
        i += width - 1;
    }
    return out;
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes)
        out += QChar(charOf(static_cast<unsigned char>(b)));
    return out;
}

bool isUtf8WithNonAscii(QByteArrayView bytes)
{
    bool nonAscii = false;
    for (const char b : bytes)
        nonAscii = nonAscii || static_cast<unsigned char>(b) >= 0x80;
    if (!nonAscii)
        return false;
    // Stateless: a sequence left incomplete at the end is an error, not
    // something to wait for.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    return !utf8.hasError();
}

QString decodeText(QByteArrayView bytes)
{
    if (isUtf8WithNonAscii(bytes))
        return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless).decode(bytes);
    return fromWindows1252(bytes);
}

QString decodeCutLine(QByteArrayView bytes)
{
    // Where a trailing sequence would begin: the last byte that is not a
    // continuation byte, at most three bytes back.
    qsizetype lead = bytes.size() - 1;
    while (lead > 0 && lead > bytes.size() - 4 && (static_cast<unsigned char>(bytes[lead]) & 0xC0) == 0x80)
        --lead;
    if (lead < 0 || sequenceLength(static_cast<unsigned char>(bytes[lead])) <= bytes.size() - lead)
        return decodeText(bytes);
    const QByteArrayView head = bytes.first(lead);
    bool headAscii = true;
    for (const char b : head)
        headAscii = headAscii && static_cast<unsigned char>(b) < 0x80;
    // A lone lead byte after plain ASCII is as likely a Windows-1252 letter
    // ending the line; a UTF-8 rest, or a lead byte with its continuation
    // bytes, says the line was cut inside a character.
    const bool cut = headAscii ? bytes.size() - lead >= 2 : isUtf8WithNonAscii(head);
    return decodeText(cut ? head : bytes);
}

} // namespace encoding

} // namespace veldesk
