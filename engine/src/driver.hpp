#pragma once

#include <iosfwd>
#include <string>

namespace velpra {

inline constexpr std::size_t file_arg_width = 200;
inline constexpr std::size_t description_width = 50;
inline constexpr int max_readings = 1000;

enum class ErrorKind { none, file_not_found, open_failed, end_of_file, syntax_error, read_error, write_error };

struct RunError {
    ErrorKind kind = ErrorKind::none;
    int unit = 0;  // 1 data-set file, 2 report
    std::string reason;
};

// The 200-character file argument: cut or padded with blanks.
std::string file_argument(const std::string& arg);

// One pass over a data set: reads it from `data` and writes the report to
// `report` line by line (CRLF). Stops at the first read or write failure,
// leaving in the report what was written before it.
RunError process(std::istream& data, std::ostream& report, const std::string& file_arg,
                 std::istream& console_in, std::ostream& console_out);

// The whole program: usage text for a wrong word count, otherwise a run on
// the named file writing pd.out into the working directory. Returns the
// process exit status.
int velpra_main(int argc, const char* const* argv, std::istream& console_in,
                std::ostream& console_out, std::ostream& console_err);

}  // namespace velpra
