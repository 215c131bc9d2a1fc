#pragma once

#include <string>
#include <vector>

#include "model.hpp"

namespace velpra {

// Field forms of the report. Numbers are right-aligned in their field;
// rounding is to nearest on the exact binary value, ties to even, and a
// value that does not fit after rounding fills the field with '*'.
// Infinities and NaN are spelled "Infinity"/"-Infinity" (or "Inf"/"-Inf"
// when narrower) and "NaN".

// Integer of width w.
std::string format_integer(long long value, int w);

// Fixed point of width w with d decimals. With d = 0 the point ends the
// number ("300."). The "0" before the point of a value below one is left
// out when the field has no room for it ("-.5000" in six columns).
std::string format_fixed(double value, int w, int d);

// Scientific of width w with d mantissa digits: "0.4073E-04", "-.4073E-04",
// "0.0000E+00".
std::string format_scientific(double value, int w, int d);

// Console usage text, one line per element (without line ends).
std::vector<std::string> usage_lines();

// Report lines 1-16.
std::vector<std::string> banner_lines();
// Line 17, from the 200-character file argument.
std::string processed_file_line(const std::string& file_arg);
// Line 18, from the 50-character description.
std::string description_line(const std::string& description);
// Line 19.
std::string pipe_dimensions_line(float ri, float h0);
// Lines 20-23.
std::vector<std::string> table_header_lines();
// One row of the table; the W flag shows the result's `iwarn`.
std::string reading_row(long long number, float dtheta, float tmed, float tmax,
                        const ReadingResult& r);
// The last three lines.
std::vector<std::string> table_footer_lines();

}  // namespace velpra
