// Malformed data sets of every kind must end in a report or a diagnostic,
// never in a crash or a hang.

#include <random>
#include <sstream>

#include "driver.hpp"
#include "velpra_run.hpp"

using namespace velpra_test;

namespace {

std::string random_bytes(std::mt19937& gen, std::size_t n, bool printable)
{
    std::string s(n, '\0');
    for (auto& c : s) {
        const auto v = gen();
        c = printable ? " 0123456789.,/eEdD+-'\"\t\r\nx"[v % 27] : static_cast<char>(v & 0xFF);
    }
    return s;
}

std::vector<std::string> nasty_inputs()
{
    std::vector<std::string> inputs = {
        std::string("d\0sc\r\n0.05 ,\0 0.3\r\n0.2 300 1200", 27),
        "d\n0.05 0.3\n" + std::string(3u << 20, '7') + " 1 1\n",                  // a 3 MB number
        std::string(4u << 20, 'x') + "\n0.05 0.3\n0.2 300 1200",                  // a 4 MB description
        "'" + std::string(2u << 20, 'q') + "\n0.05 0.3\n",                        // a quote that never ends
        "d\n0.05 0.3\n0." + std::string(2u << 20, '0') + "1e2000000 300 1200\n",  // digits far out
        "d\n0.05 0.3\n" + std::string(1u << 20, ',') + "\n",
        "d\n-0.05 -0.3\n-0.2 -300 1200\n1e38 1e38 1e38\n1e-45 1e-45 1e-45\n0 0 0\n",
        "d\n0.05 0.3\n0.2 /\n0.2 300 1200\n0.1 /\n",  // times left out: the previous reading's, or none
    };
    std::mt19937 gen(20020828);
    for (int i = 0; i < 40; ++i) inputs.push_back(random_bytes(gen, 64 + gen() % 4000, i % 2 == 0));
    return inputs;
}

// The report as it stands after any run, whole or cut short: CRLF-ended
// lines, none wider than the 80-column processed-file line.
void expect_whole_short_lines(const std::string& report, std::size_t input)
{
    std::size_t start = 0;
    std::size_t lines = 0;
    for (auto p = report.find("\r\n"); p != std::string::npos; p = report.find("\r\n", start)) {
        const std::string line = report.substr(start, p - start);
        EXPECT_LE(line.size(), 80u) << "input " << input << ", line " << lines + 1;
        start = p + 2;
        ++lines;
    }
    EXPECT_EQ(start, report.size()) << "input " << input << ": text after the last line end";
    EXPECT_GE(lines, 16u) << "input " << input << ": not even the banner";
}

}  // namespace

TEST(Robustness, EngineInProcess)
{
    const auto inputs = nasty_inputs();
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const auto run = [&](velpra::RunError& err) {
            std::istringstream in(inputs[i]);
            std::ostringstream report, console_out;
            std::istringstream console_in;
            err = velpra::process(in, report, velpra::file_argument("fuzz.pd"), console_in, console_out);
            return report.str();
        };
        velpra::RunError err;
        const std::string report = run(err);
        // Whatever happened, the report is whole lines, each 80 characters at
        // most; only reading the data set can fail with an in-memory report.
        expect_whole_short_lines(report, i);
        EXPECT_TRUE(err.kind == velpra::ErrorKind::none || err.unit == 1) << "input " << i;
        // A second run in the same process knows nothing of the first.
        EXPECT_EQ(run(err), report) << "input " << i;
    }
}

TEST(Robustness, ExecutableOnMalformedFiles)
{
    ScratchDir dir;
    const auto inputs = nasty_inputs();
    for (std::size_t i = 0; i < inputs.size(); i += 3) {
        write_file(dir.path() / "bad.pd", inputs[i]);
        const RunResult r = run_velpra(dir.path(), {"bad.pd"});
        // Exit statuses: 0 for a finished table, 2 for a diagnosed failure.
        EXPECT_TRUE(r.status == 0 || (r.status == 2 && !r.err.empty())) << i << ": " << r.status << r.err;
        EXPECT_TRUE(r.has_report);
        expect_whole_short_lines(r.report, i);
    }
}
