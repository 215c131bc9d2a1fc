// Descriptions stored in Windows-1252, and text read back from files written
// in Windows-1252 or UTF-8.
#include "encoding.h"

#include "test_support.h"

using namespace veldesk;

using namespace encoding;

TEST(Encoding, Windows1252StoresWhatItHasAndNamesWhatItLacks)
{
    const struct {
        const char* utf8;
        QByteArray stored; // empty: refused
        const char* unstorable;
    } cases[] = {
        {"Plot 7", "Plot 7", ""},
        {"Año – “x” € ‘y’ … Ÿ", "A\xF1o \x96 \x93x\x94 \x80 \x91y\x92 \x85 \x9F", ""},
        {"\xC2\x81\xC2\x9D", "\x81\x9D", ""}, // the undefined bytes survive a round trip
        {"Δθ", "", "Δ"},
        {"ok \xC2\x80", "", "\xC2\x80"},     // U+0080 is not the euro sign
        {"a😀b", "", "😀"},                  // named whole, not as half a pair
    };
    for (const auto& c : cases) {
        QString bad;
        const auto bytes = toWindows1252(QString::fromUtf8(c.utf8), &bad);
        EXPECT_EQ(bytes.value_or("<refused>"), c.stored.isEmpty() ? QByteArray("<refused>") : c.stored) << c.utf8;
        EXPECT_EQ(bad, QString::fromUtf8(c.unstorable)) << c.utf8;
    }
    // Every byte reads back to a character that is stored as that byte again.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)).value_or(""), all);
}

TEST(Encoding, FilesAreUtf8WhenValidWithNonAsciiElseWindows1252)
{
    const struct {
        QByteArray bytes;
        const char* text; // as UTF-8
    } cases[] = {
        {"V.Arezo Input data", "V.Arezo Input data"},
        {"A\xC3\xB1o \xE2\x80\x93 \xCE\x94\xCE\xB8", "Año – Δθ"},
        {"\xEF\xBB\xBF" "Caf\xC3\xA9", "Café"},          // byte-order mark dropped
        {"A\xF1o \x93x\x94 \x80", "Año “x” €"},
        {"\xC0\xAF", "À¯"},                               // overlong form: not UTF-8
        {"\xED\xA0\x80", "í\xC2\xA0€"},                   // a surrogate: not UTF-8
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeText(c.bytes), QString::fromUtf8(c.text)) << c.text;
}

TEST(Encoding, ALineCutInsideAUtf8CharacterKeepsTheRest)
{
    EXPECT_EQ(decodeCutLine("/d/A\xC3\xB1o/pl\xC3"), QString::fromUtf8("/d/Año/pl"));
    EXPECT_EQ(decodeCutLine("/d/A\xC3\xB1o/\xE2\x82"), QString::fromUtf8("/d/Año/"));
    EXPECT_EQ(decodeCutLine("/d/plot\xE2\x82"), "/d/plot");
    EXPECT_EQ(decodeCutLine("/d/caf\xE9"), QString::fromUtf8("/d/café")); // Windows-1252 é
    EXPECT_EQ(decodeCutLine("/d/A\xF1o/caf\xE9"), QString::fromUtf8("/d/Año/café"));
    EXPECT_EQ(decodeCutLine("/d/A\xC3\xB1o"), QString::fromUtf8("/d/Año"));
}
