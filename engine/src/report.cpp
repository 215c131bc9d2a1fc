#include "report.hpp"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace velpra {
namespace {

std::string stars(int w) { return std::string(static_cast<std::size_t>(w), '*'); }

std::string right(std::string_view s, int w)
{
    if (static_cast<int>(s.size()) > w) return stars(w);
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + std::string(s);
}

std::optional<std::string> non_finite(double v, int w)
{
    if (std::isnan(v)) return right("NaN", w);
    if (std::isinf(v)) {
        const std::string_view full = v < 0 ? "-Infinity" : "Infinity";
        const std::string_view brief = v < 0 ? "-Inf" : "Inf";
        return right(static_cast<int>(full.size()) <= w ? full : brief, w);
    }
    return std::nullopt;
}

// Drops the optional "0" of "0." / "-0." when the text is too wide for w.
std::string fit_leading_zero(std::string s, int w)
{
    const std::size_t z = (!s.empty() && s[0] == '-') ? 1 : 0;
    if (static_cast<int>(s.size()) > w && s.size() > z + 1 && s[z] == '0' && s[z + 1] == '.') {
        s.erase(z, 1);
    }
    return right(s, w);
}

constexpr int line_width_rule = 79;
constexpr int box_width = 52;

std::string box_line(std::string_view inner)
{
    std::string s = "|" + std::string(inner);
    s.resize(box_width - 1, ' ');
    return s + "|";
}

}  // namespace

std::string format_integer(long long value, int w) { return right(std::to_string(value), w); }

std::string format_fixed(double value, int w, int d)
{
    if (auto s = non_finite(value, w)) return *s;
    char buf[512];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, d);
    if (res.ec != std::errc()) return stars(w);
    std::string s(buf, res.ptr);
    if (d == 0) s += '.';
    return fit_leading_zero(std::move(s), w);
}

std::string format_scientific(double value, int w, int d)
{
    if (auto s = non_finite(value, w)) return *s;
    std::string digits;
    int exponent = 0;
    if (value == 0) {
        digits.assign(static_cast<std::size_t>(d), '0');
    } else {
        // d significant digits as d.ddd...e±x, read back as 0.dddd × 10^(x+1).
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                       std::chars_format::scientific, d - 1);
        if (res.ec != std::errc()) return stars(w);
        const std::string_view t(buf, static_cast<std::size_t>(res.ptr - buf));
        const std::size_t epos = t.find('e');
        for (char ch : t.substr(0, epos)) {
            if (ch != '.') digits += ch;
        }
        int x = 0;
        std::string_view ex = t.substr(epos + 1);
        if (!ex.empty() && ex[0] == '+') ex.remove_prefix(1);
        std::from_chars(ex.data(), ex.data() + ex.size(), x);
        exponent = x + 1;
    }
    std::string s = std::signbit(value) ? "-0." : "0.";
    s += digits;
    const int mag = std::abs(exponent);
    const std::string sign = exponent < 0 ? "-" : "+";
    if (mag <= 99) {
        s += "E" + sign + (mag < 10 ? "0" : "") + std::to_string(mag);
    } else if (mag <= 999) {
        s += sign + std::to_string(mag);  // three exponent digits leave no room for the E
    } else {
        return stars(w);
    }
    return fit_leading_zero(std::move(s), w);
}

std::vector<std::string> usage_lines()
{
    const char* text[] = {
        " ",
        "Name:   velpra",
        "         (VELPRA Philip-Dunne permeameter data)",
        "Version: 0.3 DOS and UNIX, 08/28/2002",
        "         (c) 2002 V. Arezo, Z. Zirav",
        "Use:     velpra input_file",
        " ",
        " input_file:  name of input file (1-12 chars.)",
        " ",
    };
    std::vector<std::string> lines;
    for (const char* t : text) lines.push_back(std::string(" ") + t);
    return lines;
}

std::vector<std::string> banner_lines()
{
    // Block letters V E L P R A, five rows, each row set one column further
    // left than the one above so that the lettering leans. Every row starts
    // with a '*', so the slant shows in the indentation alone.
    static const char* const glyphs[6][5] = {
        {"*    *", "*   * ", "*  *  ", "* *   ", "**    "},
        {"*****", "*    ", "**** ", "*    ", "*****"},
        {"*    ", "*    ", "*    ", "*    ", "*****"},
        {"**** ", "*   *", "**** ", "*    ", "*    "},
        {"**** ", "*   *", "**** ", "*  * ", "*   *"},
        {"  *  ", " * * ", "*   *", "*****", "*   *"},
    };
    std::string logo[5];
    for (int row = 0; row < 5; ++row) {
        for (int letter = 0; letter < 6; ++letter) {
            if (letter > 0) logo[row] += "  ";
            logo[row] += glyphs[letter][row];
        }
        logo[row].erase(logo[row].find_last_not_of(' ') + 1);
    }
    std::vector<std::string> lines;
    lines.push_back("  ");
    for (int row = 0; row < 5; ++row) {
        lines.push_back(" " + std::string(static_cast<std::size_t>(9 - row), ' ') + logo[row]);
    }
    lines.push_back(" " + std::string(box_width, '-'));
    lines.push_back(" " + box_line(""));
    lines.push_back(" " + box_line(" VELPRA: Data proc. from Philip-Dunne permeameter"));
    lines.push_back(" " + box_line("         v0.3 for DOS and UNIX"));
    lines.push_back(" " + box_line(" (c) 2002 V. Arezo, Z. Zirav"));
    lines.push_back(" " + box_line(" Contact: v.arezo@example.org"));
    lines.push_back(" " + box_line(""));
    lines.push_back(" " + std::string(box_width, '-'));
    lines.push_back("  ");
    lines.push_back("  ");
    return lines;
}

std::string processed_file_line(const std::string& file_arg)
{
    std::string name = file_arg.substr(0, 65);
    name.resize(65, ' ');
    return "Processed file:" + name;
}

std::string description_line(const std::string& description)
{
    std::string text = description.substr(0, 50);
    text.resize(50, ' ');
    return " Description:  " + text;
}

std::string pipe_dimensions_line(float ri, float h0)
{
    return " Pipe dimensions used: ri=" + format_fixed(ri, 7, 4) + " m; h0=" + format_fixed(h0, 7, 2) + " m";
}

std::vector<std::string> table_header_lines()
{
    return {
        "",
        "Point #  dtheta  tmed    tmax  delta0  romax  romed    a   W      Ks    Psi_m",
        std::string(8, ' ') + "(cm3/cm3) (s)    (s)" + std::string(37, ' ') + "(m/s)   (m)",
        std::string(line_width_rule, '-'),
    };
}

std::string reading_row(long long number, float dtheta, float tmed, float tmax,
                        const ReadingResult& r)
{
    const std::string w_text = r.iwarn != 0 ? " *    " : "      ";
    return format_integer(number, 6) + format_fixed(dtheta, 8, 4) + format_fixed(tmed, 8, 0) +
           format_fixed(tmax, 8, 0) + format_fixed(r.delta0, 7, 2) + format_fixed(r.romax, 7, 2) +
           format_fixed(r.romed, 7, 2) + format_fixed(r.a, 7, 2) + w_text.substr(0, 3) +
           format_scientific(r.Ks, 10, 4) + format_fixed(r.Psi_m, 7, 4);
}

std::vector<std::string> table_footer_lines()
{
    return {std::string(line_width_rule, '-'), "W=*, warning, root found outside domain", ""};
}

}  // namespace velpra
