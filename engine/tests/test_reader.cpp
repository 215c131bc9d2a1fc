#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

#include "reader.hpp"

using velpra::FreeFormatReader;
using velpra::ReadStatus;

namespace {

// Runs one read per step of `plan` ('t' a 12-character text item, a digit
// that many reals, all starting at -1) and renders what each read produced.
std::string trace(FreeFormatReader& reader, const std::string& plan)
{
    const char* const names[] = {"ok", "eof", "syntax", "io"};
    std::string out;
    for (char step : plan) {
        if (!out.empty()) out += '|';
        ReadStatus s;
        if (step == 't') {
            std::string text = "old";
            s = reader.read_text(text, 12);
            if (s == ReadStatus::ok) out += text;
        } else {
            std::vector<float> v(static_cast<std::size_t>(step - '0'), -1.0f);
            std::vector<float*> targets;
            for (auto& x : v) targets.push_back(&x);
            s = reader.read_reals(targets);
            for (std::size_t i = 0; s == ReadStatus::ok && i < v.size(); ++i) {
                char buf[32];
                std::snprintf(buf, sizeof buf, "%s%g", i ? " " : "", v[i]);
                out += buf;
            }
        }
        if (s != ReadStatus::ok) out += names[static_cast<int>(s)];
    }
    return out;
}

std::string trace(const std::string& data, const std::string& plan)
{
    std::istringstream in(data);
    FreeFormatReader reader(in);
    return trace(reader, plan);
}

}  // namespace

TEST(Reader, RecordsSeparatorsAndSlash)
{
    // The front end's own layout, CRLF or LF.
    EXPECT_EQ(trace("V.Arezo Input data\r\n0.01800 , 0.30000\r\n0.15000 120.00000 300.00000\r\n", "t23"),
              "V.Arezo     |0.018 0.3|0.15 120 300");
    EXPECT_EQ(trace("d\n0.018,0.3\n", "t2"), "d           |0.018 0.3");
    EXPECT_EQ(trace("d\n0.018\t , \t0.3", "t2"), "d           |0.018 0.3");
    // Every read starts on a new record; surplus values are skipped.
    EXPECT_EQ(trace("1 2 3 4\n5 6 7\n", "33"), "1 2 3|5 6 7");
    // A short record is completed from the next ones, empty records skipped.
    EXPECT_EQ(trace("1\n\n \t\n2\n3 9\n4 5 6", "33"), "1 2 3|4 5 6");
    // A slash ends the read; the rest keep their values.
    EXPECT_EQ(trace("1 / 2 3\n4,5/\n7 8 9\n", "333"), "1 -1 -1|4 5 -1|7 8 9");
    EXPECT_EQ(trace("1,2/\n", "2"), "1 2");
    // Null values between commas keep the old value too.
    EXPECT_EQ(trace("1,,3\n,2 ,\n, 3\n", "33"), "1 -1 3|-1 2 -1");
}

TEST(Reader, NumberSyntax)
{
    EXPECT_EQ(trace("1.5E-3 2d2 3Q1\n", "3"), "0.0015 200 30");
    EXPECT_EQ(trace("1.5e-3 +2.D+2 -.5q0\n", "3"), "0.0015 200 -0.5");
    EXPECT_EQ(trace("7 8. .25\n", "3"), "7 8 0.25");
    for (const char* bad : {"1 abc 3", "1.5E 2 3", "1-3 2 3", ". 2 3", "+ 2 3", "0.2x 2 3", "inf 2 3",
                            "nan 2 3", "1..2 2 3", "1e+ 2 3", "2*0.5 1 1", "'1' 2 3"}) {
        EXPECT_EQ(trace(bad, "3"), "syntax") << bad;
    }
}

TEST(Reader, ConversionIsCorrectlyRounded)
{
    struct Case {
        const char* text;
        float expected;
    };
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case& c : {Case{"0.1", 0.1f}, Case{"0.15625", 0.15625f},
                          // Half-way between 1 and the next float: ties to even...
                          Case{"1.000000059604644775390625", 1.0f},
                          // ...and just above half-way, where going through double would round to 1.
                          Case{"1.00000005960464477539062500001", std::nextafter(1.0f, 2.0f)},
                          Case{"1e-40", 1e-40f}, Case{"1e39", inf}, Case{"-1D39", -inf},
                          Case{"1e999999999999999999", inf}, Case{"0.000e99999", 0.0f},
                          Case{"1e-50", 0.0f}, Case{"-1e-50", -0.0f}, Case{"123456789e-35", 1.23456789e-27f}}) {
        float v = 42.0f;
        ASSERT_TRUE(velpra::parse_real(c.text, v)) << c.text;
        EXPECT_EQ(v, c.expected) << c.text;
        EXPECT_EQ(std::signbit(v), std::signbit(c.expected)) << c.text;
    }
}

TEST(Reader, DescriptionItem)
{
    EXPECT_EQ(trace("ab,cd\n", "t"), "ab          ");
    EXPECT_EQ(trace("  ab/cd\n", "t"), "ab          ");
    EXPECT_EQ(trace("abcdefghijklmnopq\n", "t"), "abcdefghijkl");
    EXPECT_EQ(trace("'it''s a, b/c'\n", "t"), "it's a, b/c ");
    EXPECT_EQ(trace("\"say \"\"hi\"\"\" more\n1 2\n", "t2"), "say \"hi\"    |1 2");
    // A quoted item runs over the record end, which adds nothing to it.
    EXPECT_EQ(trace("'ab\ncd' x\n1 2\n", "t2"), "abcd        |1 2");
    // An empty description record is skipped: the next record's first value
    // becomes the description and everything after shifts by one read.
    EXPECT_EQ(trace("\n0.01800 , 0.30000\n0.2 300 1200\n0.2 300 600\n", "t23"),
              "0.01800     |0.2 300|0.2 300 600");
    // A leading comma or slash reads nothing.
    EXPECT_EQ(trace(", ab\n", "t"), "old");
}

TEST(Reader, EndOfData)
{
    EXPECT_EQ(trace("", "t"), "eof");
    EXPECT_EQ(trace("\n  \n", "t"), "eof");
    EXPECT_EQ(trace("'never closed\n1 2\n", "t"), "eof");
    EXPECT_EQ(trace("d\n", "t2"), "d           |eof");
    EXPECT_EQ(trace("d\n0.018\n", "t2"), "d           |eof");
    EXPECT_EQ(trace("d\n1 2\n1 2 3\n4 5", "t233"), "d           |1 2|1 2 3|eof");
    EXPECT_EQ(trace("1 2 3", "33"), "1 2 3|eof");
}

TEST(Reader, ReadFailureIsNotEndOfFile)
{
    // Reading a directory fails at the operating-system level.
    std::ifstream dir(std::filesystem::temp_directory_path(), std::ios::binary);
    ASSERT_TRUE(dir.is_open());
    FreeFormatReader reader(dir);
    EXPECT_EQ(trace(reader, "t"), "io");
}
