// Timing of the engine: one reading solved (a typical one and one whose
// interval holds no sign change) and whole runs over 1000 readings.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "driver.hpp"
#include "model.hpp"

namespace {

void solve_one(benchmark::State& state, float t_med, float t_max)
{
    std::istringstream console_in;
    std::ostringstream console_out;
    const float rh = velpra::half_radius(0.05f);
    for (auto _ : state) {
        benchmark::DoNotOptimize(velpra::solve_reading(rh, 0.3f, 0.2f, t_med, t_max, console_in, console_out));
    }
}

void BM_SolveReadingTypical(benchmark::State& state) { solve_one(state, 300.0f, 1200.0f); }
void BM_SolveReadingFlagged(benchmark::State& state) { solve_one(state, 300.0f, 600.0f); }

// A clay-loam-like data set of 1000 readings with spread values.
std::string thousand_readings()
{
    std::ostringstream s;
    s << "Bench\r\n0.05000 , 0.30000\r\n";
    for (int i = 0; i < 1000; ++i) {
        const double dtheta = 0.06 + 0.001 * (i % 60);
        const double t_med = 280.0 + 7.0 * (i % 50);
        s.setf(std::ios::fixed);
        s.precision(5);
        s << dtheta << ' ' << t_med << ' ' << t_med * (3.3 + 0.01 * (i % 40)) << "\r\n";
    }
    return s.str();
}

void BM_Run1000InMemory(benchmark::State& state)
{
    const std::string data = thousand_readings();
    const std::string file_arg = velpra::file_argument("bench.pd");
    for (auto _ : state) {
        std::istringstream in(data);
        std::istringstream console_in;
        std::ostringstream report;
        std::ostringstream console_out;
        benchmark::DoNotOptimize(velpra::process(in, report, file_arg, console_in, console_out));
    }
}

// The program as run from the command line: files opened, read, written.
void BM_Run1000Files(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "velpra_bench";
    fs::create_directories(dir);
    std::ofstream(dir / "bench.pd", std::ios::binary) << thousand_readings();
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    const char* argv[] = {"velpra", "bench.pd"};
    std::istringstream console_in;
    std::ostringstream console_out;
    std::ostringstream console_err;
    for (auto _ : state) {
        if (velpra::velpra_main(2, argv, console_in, console_out, console_err) != 0) {
            state.SkipWithError("run failed");
            break;
        }
    }
    fs::current_path(previous);
    fs::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_SolveReadingTypical);
BENCHMARK(BM_SolveReadingFlagged);
BENCHMARK(BM_Run1000InMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Run1000Files)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
