// libFuzzer harness for the data-set loader: any bytes, as a whole file and as
// the beginning of a longer one. Beyond the sanitizers it checks what the main
// window relies on: never more readings than the grid holds, nothing loaded
// from a refused file, a saved data set is one Open accepts, and every value
// shown is shown again the same after a save and another open.
#include "Module1.h"
#include "datafile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace veldesk;

namespace {

void require(bool ok)
{
    if (!ok)
        __builtin_trap();
}

void check(const datafile::Loaded& d)
{
    require(d.opened);
    require(d.readings.size() <= datafile::kMaxReadings);
    if (d.refusal != datafile::Refusal::None) {
        require(d.readings.isEmpty() && d.unshown == datafile::Unshown::None);
        require(!datafile::refusalText(d.refusal).isEmpty());
        return;
    }
    // What Save writes of it, Open accepts again.
    if (datafile::checkDescription(d.description))
        require(datafile::parse(datafile::compose(d.description, d.ri, d.h0, d.readings)).refusal
                == datafile::Refusal::None);
    // Every value shown reads back to the value in the file, and Open then
    // Save then Open shows the same text: an unchanged value never changes.
    for (const datafile::Row& row : d.readings) {
        for (int c = 0; c < 3; ++c) {
            const double shown = Module1::readNumber(row[c]);
            if (!std::isfinite(shown) || std::fabs(shown) >= 1e7 || shown == 0)
                continue; // beyond the magnitudes a reading can have, or a row Save ends at
            datafile::Row one = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
            one[c] = row[c];
            const datafile::Loaded again = datafile::parse(datafile::compose(QStringLiteral("d"), d.ri, d.h0, {one}));
            require(again.readings.size() == 1 && again.readings[0][c] == row[c]);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    check(datafile::parse(bytes, true));
    check(datafile::parse(bytes, false));
    return 0;
}
