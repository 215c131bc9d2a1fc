// libFuzzer harness: any bytes as a data-set file, first through the reader
// alone, then through the whole engine into an in-memory report. Beyond the
// sanitizers it checks the invariants every caller relies on.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "driver.hpp"
#include "reader.hpp"

namespace {

void require(bool ok)
{
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        std::istringstream in(text);
        velpra::FreeFormatReader reader(in);
        std::string description(50, ' ');
        auto status = reader.read_text(description, 50);
        require(description.size() == 50);
        float values[3] = {};
        float* const targets[] = {&values[0], &values[1], &values[2]};
        for (int reads = 0; status == velpra::ReadStatus::ok && reads < 2000; ++reads) {
            status = reader.read_reals(targets);
        }
    }
    const auto run = [&text] {
        std::istringstream in(text);
        std::istringstream console_in;
        std::ostringstream report;
        std::ostringstream console_out;
        velpra::process(in, report, velpra::file_argument("fuzz.pd"), console_in, console_out);
        return report.str();
    };
    {
        // Whole CRLF lines, none wider than the processed-file line.
        const std::string out = run();
        std::size_t start = 0;
        for (auto p = out.find("\r\n"); p != std::string::npos; p = out.find("\r\n", start)) {
            require(p - start <= 80);
            start = p + 2;
        }
        require(start == out.size());
        // Nothing of one run is left over for the next: every reading
        // starts from the data set alone.
        require(run() == out);
    }
    return 0;
}
