#pragma once
// Text in files the front end shares with the engine and with other programs.
// Data sets written on Windows hold their description in Windows-1252; a file
// written by a present-day editor is usually UTF-8. The engine copies the
// bytes it was given (the file name, the description) into its report as they
// are, so one report can hold a UTF-8 path beside a Windows-1252 description.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace veldesk {

namespace encoding {

// The Windows-1252 byte of one character, or nothing when that code page has
// no place for it. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the control characters of the same number, as
// Windows reads them, so that such bytes survive an open and a save.
std::optional<char> windows1252Byte(char32_t ch);

// The text in Windows-1252, or nothing when a character cannot be stored; then
// *unstorable, when given, receives the first such character (whole, even
// when it lies outside the 16-bit range).
std::optional<QByteArray> toWindows1252(const QString& text, QString* unstorable = nullptr);

QString fromWindows1252(QByteArrayView bytes);

// True for bytes that are valid UTF-8 and hold at least one non-ASCII byte.
bool isUtf8WithNonAscii(QByteArrayView bytes);

// Bytes of unknown origin: UTF-8 when they are valid UTF-8 with non-ASCII
// bytes in them, Windows-1252 otherwise (plain ASCII reads the same either
// way). A UTF-8 byte-order mark is dropped.
QString decodeText(QByteArrayView bytes);

// The same for a line that may have been cut at a fixed width, such as the
// report's file-name line: a UTF-8 sequence left incomplete at its very end
// is dropped when the rest of the line shows it to be UTF-8.
QString decodeCutLine(QByteArrayView bytes);

} // namespace encoding

} // namespace veldesk
