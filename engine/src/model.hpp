#pragma once

#include <iosfwd>

#include "state.hpp"

namespace velpra {

// Model function of the falling-head test for the sought value x and a
// second argument p (the reading's `romax` or `romed`).
double gfun(float x, float p);

// Objective whose zero is `a`: the model's ratio of gfun at `romax` and at
// `romed` minus the measured ratio `tmax`/`tmed` (module-level values).
double fobj(float x);

struct ReadingResult {
    float delta0;
    float romax;
    float romed;
    float a;
    float Ks;     // field-saturated hydraulic conductivity, m/s
    float Psi_m;  // m
};

// Half the tube's internal radius, computed once per data set.
float half_radius(float ri);

// Solves one reading whose times are already in the module-level `tmed` and
// `tmax`. Leaves `romax` and `romed` in the module-level state and `iwarn`
// raised when the search interval held no sign change.
ReadingResult solve_reading(float rh, float h0, float dtheta, std::istream& console_in,
                            std::ostream& console_out);

}  // namespace velpra
