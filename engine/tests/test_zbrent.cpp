#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>
#include <vector>

#include "zbrent.hpp"

using namespace velpra;

namespace {

struct Outcome {
    float root;
    int warned;
    std::vector<float> calls;  // every point the objective was evaluated at
    std::string console;
};

template <class F>
Outcome solve(float x1, float x2, F f, const std::string& typed = "")
{
    Outcome o{};
    std::istringstream in(typed);
    std::ostringstream out;
    o.root = zbrent(x1, x2, [&](float x) { o.calls.push_back(x); return f(x); }, o.warned, in, out);
    o.console = out.str();
    return o;
}

const std::string message = "**zbrent excede el maximo de iteraciones**\n";

}  // namespace

TEST(Zbrent, ZeroAtEitherEnd)
{
    for (auto [x1, x2] : {std::pair{1.0f, 2.0f}, std::pair{2.0f, 3.0f}}) {
        const Outcome o = solve(x1, x2, [](float x) { return x - 2.0; });
        EXPECT_EQ(o.root, 2.0f);
        EXPECT_EQ(o.calls, (std::vector<float>{x1, x2})) << x1;
        EXPECT_EQ(o.warned, 0);
    }
}

TEST(Zbrent, BracketedRootInEitherOrder)
{
    const double root2 = std::sqrt(2.0);
    for (auto [x1, x2] : {std::pair{0.0f, 3.0f}, std::pair{3.0f, 0.0f}}) {
        const Outcome o = solve(x1, x2, [](float x) { return double(x) * x - 2.0; });
        EXPECT_NEAR(o.root, root2, 3e-7) << x1;
        EXPECT_EQ(o.calls[0], x1);
        EXPECT_EQ(o.calls[1], x2);
        EXPECT_LT(o.calls.size(), 20u);
        EXPECT_EQ(o.warned, 0);
        EXPECT_EQ(o.console, "");
    }
}

TEST(Zbrent, SameSignEndsWarnAndSearchOn)
{
    // Monotone without a zero: ends near the end with the smaller |f|.
    Outcome o = solve(1.0f, 2.0f, [](float x) { return x + 10.0; });
    EXPECT_EQ(o.warned, 1);
    EXPECT_NEAR(o.root, 1.0f, 1e-5);
    o = solve(1.0f, 2.0f, [](float x) { return -1.0 / x; });
    EXPECT_EQ(o.warned, 1);
    EXPECT_NEAR(o.root, 2.0f, 1e-5);
    // A zero value at an end never counts as a sign.
    EXPECT_EQ(solve(1.0f, 2.0f, [](float x) { return x - 1.0; }).warned, 0);
}

TEST(Zbrent, IntervalNarrowerThanTolerance)
{
    const float lo = 1.0f;
    const float hi = std::nextafter(1.0f, 2.0f);
    // The end with the smaller |f| comes back from the first pass...
    Outcome o = solve(lo, hi, [](float x) { return x - 1.00000005; });
    EXPECT_EQ(o.root, lo);
    EXPECT_EQ(o.calls.size(), 2u);
    // ...and x2 when both are equal (the midpoint is exact in double).
    const double mid = (double(lo) + hi) / 2;
    o = solve(lo, hi, [&](float x) { return x - mid; });
    EXPECT_EQ(o.root, hi);
    EXPECT_EQ(o.calls.size(), 2u);
}

TEST(Zbrent, IterationLimitWaitsButNeverExecutes)
{
    // A NaN upper end makes the tolerance NaN, so the search never converges.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto witness = std::filesystem::temp_directory_path() / "velpra_zbrent_witness";
    std::filesystem::remove(witness);
    const auto one = [](float) { return 1.0; };

    // Typed commands are ignored and the message repeats; Enter continues.
    Outcome o = solve(0.0f, nan, one, "touch " + witness.string() + "\nexit 1\n\nleft over\n");
    EXPECT_EQ(o.calls.size(), 302u);
    EXPECT_TRUE(std::isnan(o.root));
    EXPECT_EQ(o.console, message + message + message);
    EXPECT_FALSE(std::filesystem::exists(witness));

    // No console at all: one message, no wait.
    o = solve(0.0f, nan, one, "");
    EXPECT_EQ(o.console, message);
    o = solve(0.0f, nan, one, "go on");  // a last line without line end, then the end
    EXPECT_EQ(o.console, message + message);

    // A console that cannot be read ends the wait as well.
    std::istringstream broken("never read\n");
    broken.setstate(std::ios::badbit);
    std::ostringstream out;
    int iwarn = 0;
    zbrent(0.0f, nan, one, iwarn, broken, out);
    EXPECT_EQ(out.str(), message);
}
