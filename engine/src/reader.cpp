#include "reader.hpp"

#include <charconv>
#include <limits>
#include <system_error>

namespace velpra {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool ends_token(char c) { return is_blank(c) || c == ',' || c == '/'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_exponent_letter(char c)
{
    return c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q';
}

}  // namespace

bool parse_real(std::string_view tok, float& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < tok.size() && (tok[i] == '+' || tok[i] == '-')) negative = tok[i++] == '-';

    const std::size_t int_begin = i;
    while (i < tok.size() && is_digit(tok[i])) ++i;
    const std::size_t int_len = i - int_begin;
    std::size_t frac_begin = i, frac_len = 0;
    if (i < tok.size() && tok[i] == '.') {
        frac_begin = ++i;
        while (i < tok.size() && is_digit(tok[i])) ++i;
        frac_len = i - frac_begin;
    }
    if (int_len + frac_len == 0) return false;

    // The exponent saturates far outside the float range, so that a
    // thousand-digit exponent cannot overflow anything.
    long long exponent = 0;
    if (i < tok.size() && is_exponent_letter(tok[i])) {
        ++i;
        bool exp_negative = false;
        if (i < tok.size() && (tok[i] == '+' || tok[i] == '-')) exp_negative = tok[i++] == '-';
        const std::size_t exp_begin = i;
        while (i < tok.size() && is_digit(tok[i])) {
            if (exponent < 100000000) exponent = exponent * 10 + (tok[i] - '0');
            ++i;
        }
        if (i == exp_begin) return false;
        if (exp_negative) exponent = -exponent;
    }
    if (i != tok.size()) return false;

    // Rebuild the number in the one spelling std::from_chars takes (no '+',
    // 'e' as exponent letter); it converts independently of the locale and
    // rounds correctly.
    std::string text;
    text.reserve(int_len + frac_len + 24);
    text.append(tok.substr(int_begin, int_len));
    if (int_len == 0) text += '0';
    text += '.';
    text.append(tok.substr(frac_begin, frac_len));
    text += 'e';
    text += std::to_string(exponent);

    float magnitude = 0.0f;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (res.ec == std::errc::result_out_of_range) {
        // Out of range either way: the power of ten of the leading
        // significant digit tells overflow from underflow.
        long long place = 0;
        std::size_t k = 0;
        while (k < int_len && tok[int_begin + k] == '0') ++k;
        if (k < int_len) {
            place = static_cast<long long>(int_len - 1 - k);
        } else {
            std::size_t j = 0;
            while (j < frac_len && tok[frac_begin + j] == '0') ++j;
            place = -static_cast<long long>(j + 1);
        }
        magnitude = exponent + place > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
    } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

bool FreeFormatReader::next_record()
{
    pos_ = 0;
    rec_.clear();
    if (!std::getline(in_, rec_)) return false;
    if (!rec_.empty() && rec_.back() == '\r') rec_.pop_back();
    return true;
}

ReadStatus FreeFormatReader::end_status() const
{
    return in_.bad() ? ReadStatus::io_error : ReadStatus::end_of_file;
}

ReadStatus FreeFormatReader::skip_blanks()
{
    for (;;) {
        while (pos_ < rec_.size() && is_blank(rec_[pos_])) ++pos_;
        if (pos_ < rec_.size()) return ReadStatus::ok;
        if (!next_record()) return end_status();
    }
}

ReadStatus FreeFormatReader::read_reals(std::span<float* const> targets)
{
    if (!next_record()) return end_status();
    bool after_value = false;
    std::size_t item = 0;
    while (item < targets.size()) {
        if (const ReadStatus s = skip_blanks(); s != ReadStatus::ok) return s;
        const char c = rec_[pos_];
        if (c == '/') return ReadStatus::ok;
        if (c == ',') {
            ++pos_;
            if (!after_value) ++item;  // null value
            after_value = false;
            continue;
        }
        std::size_t end = pos_;
        while (end < rec_.size() && !ends_token(rec_[end])) ++end;
        float v = 0.0f;
        if (!parse_real(std::string_view(rec_).substr(pos_, end - pos_), v)) {
            return ReadStatus::syntax_error;
        }
        *targets[item++] = v;
        pos_ = end;
        after_value = true;
    }
    return ReadStatus::ok;
}

ReadStatus FreeFormatReader::read_text(std::string& item, std::size_t width)
{
    if (!next_record()) return end_status();
    if (const ReadStatus s = skip_blanks(); s != ReadStatus::ok) return s;
    const char c = rec_[pos_];
    if (c == '/' || c == ',') return ReadStatus::ok;  // nothing read, the item stays

    std::string text;
    if (c == '\'' || c == '"') {
        ++pos_;
        for (;;) {
            if (pos_ >= rec_.size()) {
                // A record end inside the quotes contributes nothing.
                if (!next_record()) return end_status();
                continue;
            }
            const char ch = rec_[pos_++];
            if (ch == c) {
                if (pos_ < rec_.size() && rec_[pos_] == c) {
                    ++pos_;
                } else {
                    break;
                }
            }
            if (text.size() < width) text += ch;
        }
    } else {
        std::size_t end = pos_;
        while (end < rec_.size() && !ends_token(rec_[end])) ++end;
        text.assign(rec_, pos_, std::min(end - pos_, width));
    }
    text.resize(width, ' ');
    item = std::move(text);
    return ReadStatus::ok;
}

}  // namespace velpra
