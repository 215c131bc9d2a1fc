#pragma once

#include <iosfwd>

namespace velpra {

// The working values of one reading: its two times, the two dimensionless
// radii the calculation derives from them, and the flag the root finder
// raises when its search interval shows no sign change.
struct ReadingContext {
    float romax = 0.0f;
    float romed = 0.0f;
    float tmed = 0.0f;
    float tmax = 0.0f;
    int iwarn = 0;
};

// Model function of the falling-head test for the sought value x and a
// second argument p (the reading's `romax` or `romed`).
double gfun(float x, float p);

// Objective whose zero is `a`: the model's ratio of gfun at `romax` and at
// `romed` minus the measured ratio `tmax`/`tmed` of the reading.
double fobj(float x, const ReadingContext& ctx);

struct ReadingResult {
    float delta0;
    float romax;
    float romed;
    float a;
    float Ks;     // field-saturated hydraulic conductivity, m/s
    float Psi_m;  // m
    int iwarn;    // 1 when the search interval held no sign change
};

// Half the tube's internal radius, computed once per data set.
float half_radius(float ri);

// Solves one reading with the times `tmed` and `tmax`.
ReadingResult solve_reading(float rh, float h0, float dtheta, float tmed, float tmax,
                            std::istream& console_in, std::ostream& console_out);

}  // namespace velpra
