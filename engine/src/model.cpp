#include "model.hpp"

#include <cmath>
#include <iostream>

#include "zbrent.hpp"

namespace velpra {
namespace {

// Constants as the single-precision values the calculation has always used.
// 9.869606 is the decimal as written, two float steps above the float
// nearest to pi squared; the results depend on that exact value.
constexpr double pi2 = 9.869606f;
constexpr double root3 = 1.7320508f;
constexpr double one_third = 1.0f / 3.0f;
constexpr double lower_offset = 1.0e-6f;
constexpr float upper_end = 20.0f;

}  // namespace

double gfun(float x, float p)
{
    const double X = x;
    const double P = p;
    const float x2 = static_cast<float>(X * X);
    const double d = (P + 1.0) * X + 2.0 * x2 + 2.0 * P;
    const float t1 = static_cast<float>((root3 / X) * std::atan(((P - 1.0) * X * root3) / d));
    const float x2b = static_cast<float>(2.0 * X);
    const float c = static_cast<float>(3.0 / x2b);
    const float t2 = static_cast<float>(std::log((X - 1.0) / (X - P)) * c);
    const float k = static_cast<float>(1.0 / x2b + 1.0);
    const double x3 = X * x2;
    const double p3 = P * P * P;
    return std::log((x3 - 1.0) / (x3 - p3)) * k - t2 + t1;
}

double fobj(float x, const ReadingContext& ctx)
{
    const float a = static_cast<float>(gfun(x, ctx.romax));
    const double b = gfun(x, ctx.romed);
    return a / b - static_cast<double>(ctx.tmax) / ctx.tmed;
}

float half_radius(float ri) { return static_cast<float>(0.5 * ri); }

ReadingResult solve_reading(float rh, float h0, float dtheta, float tmed, float tmax,
                            std::istream& console_in, std::ostream& console_out)
{
    ReadingResult r{};
    r.delta0 = static_cast<float>((static_cast<double>(h0) * 3.0 / dtheta) / rh);
    ReadingContext ctx;
    ctx.tmed = tmed;
    ctx.tmax = tmax;
    ctx.romax = static_cast<float>(std::pow(static_cast<double>(r.delta0) + 1.0, one_third));
    ctx.romed = static_cast<float>(std::pow(static_cast<double>(r.delta0) * 0.5 + 1.0, one_third));
    r.romax = ctx.romax;
    r.romed = ctx.romed;

    // The search starts just above romax, where the model's logarithms turn
    // singular, and ends at a fixed 20.
    const float x1 = static_cast<float>(ctx.romax + lower_offset);
    r.a = zbrent(x1, upper_end, [&ctx](float x) { return fobj(x, ctx); }, ctx.iwarn, console_in,
                 console_out);
    r.iwarn = ctx.iwarn;

    const double g = gfun(r.a, ctx.romax);
    r.Ks = static_cast<float>((g * (static_cast<double>(rh) * pi2)) / (static_cast<double>(tmax) * 8.0));
    const double a = r.a;
    r.Psi_m = static_cast<float>((((a * a * a - 1.0) * rh) * dtheta) / 3.0 -
                                 (static_cast<double>(rh) * pi2) * 0.125 - h0);
    return r;
}

}  // namespace velpra
