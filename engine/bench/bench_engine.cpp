// Timing of the engine: one reading solved (a typical one and one whose
// interval holds no sign change), whole runs over 1000 readings, and the
// engine as a process of its own, beside /bin/true.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The whole process as the front end starts it: spawn, load, run, exit, on
// the wall clock (the child's time is not the benchmark's CPU time). The
// data set lies in the working directory; the console goes to /dev/null.
void run_process(benchmark::State& state, const char* program, const std::string& data)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "velpra_bench_process";
    fs::create_directories(dir);
    std::ofstream(dir / "bench.pd", std::ios::binary) << data;
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    posix_spawn_file_actions_t console;
    posix_spawn_file_actions_init(&console);
    posix_spawn_file_actions_addopen(&console, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&console, 1, "/dev/null", O_WRONLY, 0);
    char* const argv[] = {const_cast<char*>(program), const_cast<char*>("bench.pd"), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, program, &console, nullptr, argv, environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("process failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&console);
    fs::current_path(previous);
    fs::remove_all(dir);
}

void BM_ProcessTrue(benchmark::State& state) { run_process(state, "/bin/true", ""); }
void BM_ProcessEmptyDataSet(benchmark::State& state)
{
    run_process(state, VELPRA_EXE, "Empty\r\n0.05000 , 0.30000\r\n");
}
void BM_Process1000(benchmark::State& state) { run_process(state, VELPRA_EXE, thousand_readings()); }

}  // namespace

BENCHMARK(BM_SolveReadingTypical);
BENCHMARK(BM_SolveReadingFlagged);
BENCHMARK(BM_Run1000InMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Run1000Files)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcessTrue)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProcessEmptyDataSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Process1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
