// libFuzzer harness for the paste cleaning: any clipboard bytes, under a
// point, a comma and a blank-grouping regional setting, give no crash and no
// hang, and every cleaned cell keeps the promises the grid relies on.
#include "Module1.h"
#include "gridtext.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace veldesk;

namespace {

void require(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::French, QLocale::France)};
    if (size == 0)
        return 0;
    const QLocale& locale = locales[data[0] % 3];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const QList<QStringList> rows = gridtext::splitRows(text);
    for (const QStringList& row : rows) {
        for (const QString& field : row) {
            require(!field.contains(QLatin1Char('\r')) && !field.contains(QLatin1Char('\n'))
                    && !field.contains(QLatin1Char('\t')));
            const gridtext::Cleaned cleaned = gridtext::cleanCell(field, locale);
            for (const QChar c : cleaned.text)
                require(c.unicode() >= 0x20 && (c.unicode() < 0x7f || c.unicode() >= 0xa0));
            // Cleaning what a cell shows changes nothing: passing over it or a
            // second Paste leaves it as it is.
            const gridtext::Cleaned again = gridtext::cleanCell(cleaned.text, locale);
            require(again.text == cleaned.text && again.attention == cleaned.attention);
            if (cleaned.attention || cleaned.text.isEmpty())
                continue;
            // A number shows the value Save writes for what was pasted.
            QString visible;
            for (const QChar c : field)
                if (c.unicode() >= 0x20 && (c.unicode() < 0x7f || c.unicode() >= 0xa0))
                    visible += c;
            const gridtext::Reading pasted = gridtext::readPasted(visible, locale);
            require(pasted.kind == gridtext::Reading::Number);
            require(Module1::formatea_numero(static_cast<float>(Module1::valor_numero(cleaned.text)), 5)
                    == Module1::formatea_numero(static_cast<float>(pasted.value), 5));
        }
    }
    (void)gridtext::forOtherPrograms(text, locale);
    return 0;
}
