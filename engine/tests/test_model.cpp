#include <gtest/gtest.h>

#include <sstream>

#include "model.hpp"

using namespace velpra;

namespace {

// Solves one reading of the worked example's data set (ri 0.05 m, h0 0.3 m).
ReadingResult solve(float dtheta, float t_med, float t_max)
{
    std::istringstream console_in;
    std::ostringstream console_out;
    return solve_reading(half_radius(0.05f), 0.3f, dtheta, t_med, t_max, console_in, console_out);
}

}  // namespace

TEST(Model, WorkedExample)
{
    const ReadingResult r = solve(0.2f, 300, 1200);
    EXPECT_EQ(half_radius(0.05f), 0.025f);
    EXPECT_EQ(r.delta0, 180.0f);
    EXPECT_EQ(r.romax, 5.6566529f);
    EXPECT_EQ(r.romed, 4.4979415f);
    EXPECT_EQ(r.a, 5.9239845f);
    EXPECT_EQ(r.Ks, 4.0733597e-05f);
    EXPECT_NEAR(r.Psi_m, 0.013981, 5e-7);
    EXPECT_EQ(r.iwarn, 0);

    // The objective at the ends of the search interval.
    const float x1 = static_cast<float>(r.romax + static_cast<double>(1.0e-6f));
    EXPECT_EQ(x1, 5.656654f);
    const ReadingContext ctx{.romax = r.romax, .romed = r.romed, .tmed = 300, .tmax = 1200};
    EXPECT_NEAR(fobj(x1, ctx), 20.3185, 1e-3);
    EXPECT_NEAR(fobj(20.0f, ctx), -1.80383, 1e-4);
    // gfun vanishes at P = 1 and grows with P.
    EXPECT_EQ(gfun(7.0f, 1.0f), 0.0);
    EXPECT_GT(gfun(7.0f, r.romax), gfun(7.0f, r.romed));
}

TEST(Model, FlaggedReadings)
{
    // Measured ratio 2, below the model's ratio at the upper end.
    ReadingResult r = solve(0.2f, 300, 600);
    EXPECT_EQ(r.iwarn, 1);
    EXPECT_EQ(r.a, 19.99999f);
    EXPECT_EQ(r.Ks, 8.683582e-07f);
    EXPECT_EQ(r.Psi_m, 13.000806f);

    // Measured ratio 30, above the model's ratio at the lower end.
    r = solve(0.2f, 10, 300);
    EXPECT_EQ(r.iwarn, 1);
    EXPECT_EQ(r.a, 5.656654f);  // the lower end itself
    EXPECT_NEAR(r.Ks, 1.2074e-3, 5e-8);
    EXPECT_NEAR(r.Psi_m, -0.030842, 5e-7);

    // Equal times: the model's ratio exceeds 1 everywhere.
    EXPECT_EQ(solve(0.2f, 300, 300).iwarn, 1);
    // A flagged reading leaves nothing behind for the next one.
    EXPECT_EQ(solve(0.2f, 300, 1200).iwarn, 0);
}

// (A zero dtheta, which makes delta0 and romax infinite, is checked on the
// whole report in test_driver.cpp.)
TEST(Model, BadInputsFlowOn)
{
    // romax beyond 20 puts the lower end above the upper one.
    const ReadingResult r = solve(0.001f, 300, 1200);
    EXPECT_EQ(r.delta0, 36000.0f);
    EXPECT_GT(r.romax, 20.0f);
}
