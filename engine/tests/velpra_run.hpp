#pragma once

// Runs the real velpra executable in a scratch directory, as an operator
// would, with standard input at its end.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velpra_test {

namespace fs = std::filesystem;

inline std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void write_file(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

inline std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class ScratchDir {
public:
    ScratchDir()
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        static int serial = 0;
        path_ = fs::temp_directory_path() / ("velpra_" + std::string(info ? info->name() : "run") + "_" +
                                             std::to_string(::getpid()) + "_" + std::to_string(++serial));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

struct RunResult {
    int status = -1;
    std::string out, err;
    bool has_report = false;
    bool crlf = false;  // every line of pd.out, the last one too, ends in CRLF
    std::vector<std::string> lines;  // pd.out split at CRLF
    std::string report;
};

inline RunResult run_velpra(const fs::path& dir, const std::vector<std::string>& args)
{
    std::string cmd = "cd " + quoted(dir.string()) + " && " + quoted(VELPRA_EXE);
    for (const auto& a : args) cmd += " " + quoted(a);
    cmd += " </dev/null >.stdout 2>.stderr";
    RunResult r;
    const int rc = std::system(cmd.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = slurp(dir / ".stdout");
    r.err = slurp(dir / ".stderr");
    fs::remove(dir / ".stdout");
    fs::remove(dir / ".stderr");
    r.has_report = fs::exists(dir / "pd.out");
    if (fs::is_regular_file(dir / "pd.out")) {
        r.report = slurp(dir / "pd.out");
        std::size_t start = 0;
        for (auto p = r.report.find("\r\n"); p != std::string::npos; p = r.report.find("\r\n", start)) {
            r.lines.push_back(r.report.substr(start, p - start));
            start = p + 2;
        }
        r.crlf = start == r.report.size();
    }
    return r;
}

}  // namespace velpra_test
