#include "velpra_run.hpp"

using namespace velpra_test;

namespace {

const std::string rule(79, '-');
const std::string legend = "W=*, warning, root found outside domain";
const std::string head = "Example\r\n0.05000 , 0.30000\r\n";

std::string readings(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) s += "0.20000 300.00000 1200.00000\r\n";
    return s;
}

RunResult run_on(const ScratchDir& dir, const std::string& data)
{
    write_file(dir.path() / "data.pd", data);
    return run_velpra(dir.path(), {"data.pd"});
}

void expect_diagnostic(const RunResult& r, const char* kind, const char* unit, const char* file)
{
    EXPECT_EQ(r.status, 2);
    for (const char* part : {kind, unit, file}) EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
}

}  // namespace

TEST(WholeReport, ExamplesMatchTheirGoldenReports)
{
    for (const std::string name : {"worked_example", "sandy_loam", "clay_loam"}) {
        ScratchDir dir;
        fs::copy_file(fs::path(VELPRA_EXAMPLES) / (name + ".pd"), dir.path() / "in.pd");
        const RunResult r = run_velpra(dir.path(), {"in.pd"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out + r.err, "");
        EXPECT_TRUE(r.crlf);
        EXPECT_EQ(r.report, slurp(fs::path(VELPRA_GOLDEN) / (name + ".out"))) << name;
    }
}

TEST(WholeReport, TableLengths)
{
    struct Case {
        std::string data;
        std::size_t rows;
    };
    for (const Case& c : {Case{head, 0}, Case{head + readings(2) + "0.2 300\r\n", 2},
                          Case{head + readings(1) + "\r\n\r\n  \r\n", 1},
                          Case{head + readings(1000), 1000}, Case{head + readings(1000) + "junk\r\n", 1000}}) {
        ScratchDir dir;
        const RunResult r = run_on(dir, c.data);
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.crlf);
        ASSERT_EQ(r.lines.size(), 26 + c.rows);
        EXPECT_EQ(r.lines[23 + c.rows], rule);
        EXPECT_EQ(r.lines[24 + c.rows], legend);
        if (c.rows == 1000) {
            EXPECT_EQ(r.lines[1022].substr(0, 6), "  1000");
        }
    }
}

TEST(WholeReport, OverflowAndNonFiniteFields)
{
    ScratchDir dir;
    // delta0 36000 (romax beyond 20), then dtheta 0 (infinite delta0).
    const RunResult r = run_on(dir, head + "0.001 300 1200\r\n0 300 1200\r\n0.2 0 0\r\n");
    ASSERT_EQ(r.lines.size(), 29u);
    EXPECT_EQ(r.lines[23].substr(0, 37), "     1  0.0010    300.   1200.*******");
    EXPECT_EQ(r.lines[24].substr(30, 14), "    Inf    Inf");
    for (int i = 23; i < 26; ++i) EXPECT_EQ(r.lines[static_cast<std::size_t>(i)].size(), 78u) << i;
}

TEST(WholeReport, ErrorsEndTheRunWithADiagnostic)
{
    struct Case {
        std::string data;
        const char* kind;
        std::size_t lines;  // what pd.out holds when the run stops: no footer
    };
    for (const Case& c : {Case{"", "end of file", 16}, Case{"desc\r\n0.05\r\n", "end of file", 18},
                          Case{"desc\r\n0.05 , x\r\n", "syntax error", 18},
                          Case{head + readings(1) + "0.2 3OO 600\r\n", "syntax error", 24}}) {
        ScratchDir dir;
        const RunResult r = run_on(dir, c.data);
        expect_diagnostic(r, c.kind, "unit 1", "data.pd");
        EXPECT_EQ(r.lines.size(), c.lines) << c.data;
        EXPECT_TRUE(r.crlf);
    }
}

TEST(WholeReport, FileProblems)
{
    ScratchDir dir;
    write_file(dir.path() / "pd.out", "old");
    expect_diagnostic(run_velpra(dir.path(), {"missing.pd"}), "file not found", "unit 1", "missing.pd");
    EXPECT_EQ(slurp(dir.path() / "pd.out"), "old");  // an old report stays as it was

    fs::create_directory(dir.path() / "sub");
    expect_diagnostic(run_velpra(dir.path(), {"sub"}), "cannot open", "unit 1", "sub");
    EXPECT_EQ(slurp(dir.path() / "pd.out"), "old");  // a directory is no data set either

    write_file(dir.path() / "data.pd", head);
    fs::remove(dir.path() / "pd.out");
    fs::create_directory(dir.path() / "pd.out");
    expect_diagnostic(run_velpra(dir.path(), {"data.pd"}), "cannot open", "unit 2", "pd.out");
    fs::remove(dir.path() / "pd.out");
    fs::create_symlink("/dev/full", dir.path() / "pd.out");
    expect_diagnostic(run_velpra(dir.path(), {"data.pd"}), "write error", "unit 2", "pd.out");
}

TEST(CommandLine, UsageForAWrongWordCount)
{
    for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"a.pd", "b.pd"}}) {
        ScratchDir dir;
        const RunResult r = run_velpra(dir.path(), args);
        EXPECT_EQ(r.status, 0);
        EXPECT_FALSE(r.has_report);
        EXPECT_EQ(r.out,
                  "  \n Name:   velpra\n          (VELPRA Philip-Dunne permeameter data)\n"
                  " Version: 0.3 DOS and UNIX, 08/28/2002\n          (c) 2002 V. Arezo, Z. Zirav\n"
                  " Use:     velpra input_file\n  \n  input_file:  name of input file (1-12 chars.)\n  \n");
    }
}

TEST(CommandLine, LongArgumentsAndOtherDirectories)
{
    ScratchDir dir;
    const std::string name(200, 'n');
    write_file(dir.path() / name, head + readings(1));
    RunResult r = run_velpra(dir.path(), {name + "ignored"});
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.lines.size(), 27u);
    EXPECT_EQ(r.lines[16], "Processed file:" + std::string(65, 'n'));

    // The report goes to the working directory, not beside the data set.
    fs::create_directory(dir.path() / "data");
    fs::create_directory(dir.path() / "work");
    write_file(dir.path() / "data" / "x.pd", head);
    r = run_velpra(dir.path() / "work", {"../data/x.pd"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines.size(), 26u);
    EXPECT_FALSE(fs::exists(dir.path() / "data" / "pd.out"));
}
