#pragma once

#include <cmath>
#include <iosfwd>

namespace velpra {

inline constexpr int zbrent_max_iterations = 300;
inline constexpr const char* zbrent_limit_message = "**zbrent excede el maximo de iteraciones**";

// Console wait after the iteration limit: writes the message and reads
// lines. An empty line, the end of the input or a read error ends the wait;
// any other line is ignored (never executed) and the message is written again.
void zbrent_wait(std::istream& console_in, std::ostream& console_out);

// Brent's bracketing root finder (bisection safeguarding inverse quadratic
// and secant steps) with a fixed tolerance and a 300-pass limit. Ends whose
// objective values have the same strict sign raise `iwarn` and the search
// runs anyway (`iwarn` is only ever raised, never cleared, here). The
// objective is any callable taking a float and returning a double; it is
// evaluated at x1, at x2, then once per pass. Stored values are single
// precision where the method keeps them, intermediates double.
template <class Objective>
float zbrent(float x1, float x2, Objective&& f, int& iwarn, std::istream& console_in,
             std::ostream& console_out)
{
    const double rel_tol = 6.0e-8f;
    const double abs_tol = 5.0e-9f;

    float a = x1;
    float b = x2;
    float fa = static_cast<float>(f(a));
    double fb = f(b);
    if ((fa > 0 && fb > 0) || (fa < 0 && fb < 0)) iwarn = 1;
    float c = b;
    float fc = static_cast<float>(fb);
    float d = 0.0f;
    float e = 0.0f;

    for (int pass = 1; pass <= zbrent_max_iterations; ++pass) {
        if ((fb > 0 && fc > 0) || (fb < 0 && fc < 0)) {
            c = a;
            fc = fa;
            d = static_cast<float>(static_cast<double>(b) - a);
            e = d;
        }
        if (std::fabs(static_cast<double>(fc)) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = static_cast<float>(fb);
            fb = fc;
            fc = fa;
        }
        const float tol1 = static_cast<float>(std::fabs(static_cast<double>(b)) * rel_tol + abs_tol);
        const double xm = 0.5 * (static_cast<double>(c) - b);
        if (fb == 0.0 || std::fabs(xm) <= tol1) return b;

        if (std::fabs(e) >= tol1 && std::fabs(static_cast<double>(fa)) > std::fabs(fb)) {
            const double s = fb / fa;
            double p;
            double q;
            if (a == c) {
                p = 2.0 * xm * s;
                q = 1.0 - s;
            } else {
                q = static_cast<double>(fa) / fc;
                const double r = fb / fc;
                p = s * (2.0 * xm * q * (q - r) - (static_cast<double>(b) - a) * (r - 1.0));
                q = (q - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0) q = -q;
            p = std::fabs(p);
            const double m1 = 3.0 * xm * q - std::fabs(tol1 * q);
            const double m2 = std::fabs(e * q);
            if (2.0 * p < (m2 < m1 ? m2 : m1)) {
                e = d;
                d = static_cast<float>(p / q);
            } else {
                d = static_cast<float>(xm);
                e = d;
            }
        } else {
            d = static_cast<float>(xm);
            e = d;
        }
        a = b;
        fa = static_cast<float>(fb);
        if (std::fabs(d) > tol1) {
            b = static_cast<float>(static_cast<double>(b) + d);
        } else {
            b = static_cast<float>(static_cast<double>(b) + (xm < 0 ? -tol1 : tol1));
        }
        fb = f(b);
    }
    zbrent_wait(console_in, console_out);
    return b;
}

}  // namespace velpra
