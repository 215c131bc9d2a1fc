#pragma once

#include <cstddef>
#include <istream>
#include <span>
#include <string>
#include <string_view>

namespace velpra {

enum class ReadStatus { ok, end_of_file, syntax_error, io_error };

// Free-format ("list-directed") reader of a data-set file.
//
// Every read starts on a new record; the rest of the record on which the
// previous read stopped is skipped. Within a read, values are separated by
// blanks or tabs, by a comma with or without blanks around it, or by record
// ends, and empty records are skipped. A slash ends the read: the items not
// read yet keep the values they held. A comma that follows another separator
// comma (or opens the read) is a null value, which also leaves its item as
// it was. Records may end in LF or CRLF; the last one needs no line end.
class FreeFormatReader {
public:
    explicit FreeFormatReader(std::istream& in) : in_(in) {}

    // One text item, cut or padded with blanks to `width` characters. A
    // quoted item ('...' or "...", the quote doubled inside to stand for
    // itself) may hold blanks, commas and slashes and run over record ends;
    // an unquoted one stops at the first blank, tab, comma, slash or record end.
    ReadStatus read_text(std::string& item, std::size_t width);

    // As many reals as there are targets, in order.
    ReadStatus read_reals(std::span<float* const> targets);

private:
    bool next_record();
    ReadStatus end_status() const;
    ReadStatus skip_blanks();

    std::istream& in_;
    std::string rec_;
    std::size_t pos_ = 0;
};

// Converts one number: optional sign, digits with an optional decimal point,
// optional exponent introduced by E, D or Q in either case. The result is
// the single-precision value nearest to the decimal (ties to even); values
// beyond the single-precision range become infinities, tiny ones zero.
bool parse_real(std::string_view token, float& value);

}  // namespace velpra
