#include "driver.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>

#include "model.hpp"
#include "reader.hpp"
#include "report.hpp"

namespace velpra {
namespace {

constexpr const char* report_name = "pd.out";

RunError from_read_status(ReadStatus s)
{
    switch (s) {
    case ReadStatus::end_of_file: return {ErrorKind::end_of_file, 1, {}};
    case ReadStatus::syntax_error: return {ErrorKind::syntax_error, 1, {}};
    case ReadStatus::io_error: return {ErrorKind::read_error, 1, {}};
    case ReadStatus::ok: break;
    }
    return {};
}

bool put(std::ostream& report, const std::string& line)
{
    report << line << "\r\n";
    return static_cast<bool>(report);
}

bool put(std::ostream& report, const std::vector<std::string>& lines)
{
    for (const auto& line : lines) {
        if (!put(report, line)) return false;
    }
    return true;
}

const RunError write_failed{ErrorKind::write_error, 2, {}};

const char* kind_text(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::file_not_found: return "file not found";
    case ErrorKind::open_failed: return "cannot open file";
    case ErrorKind::end_of_file: return "end of file";
    case ErrorKind::syntax_error: return "syntax error: bad real number";
    case ErrorKind::read_error: return "read error";
    case ErrorKind::write_error: return "write error";
    case ErrorKind::none: break;
    }
    return "error";
}

}  // namespace

std::string file_argument(const std::string& arg)
{
    std::string text = arg.substr(0, file_arg_width);
    text.resize(file_arg_width, ' ');
    return text;
}

RunError process(std::istream& data, std::ostream& report, const std::string& file_arg,
                 std::istream& console_in, std::ostream& console_out)
{
    FreeFormatReader reader(data);
    if (!put(report, banner_lines())) return write_failed;

    std::string description(description_width, ' ');
    if (auto s = reader.read_text(description, description_width); s != ReadStatus::ok) {
        return from_read_status(s);
    }
    if (!put(report, processed_file_line(file_arg)) || !put(report, description_line(description))) {
        return write_failed;
    }

    float ri = 0.0f;
    float h0 = 0.0f;
    float* const dims[] = {&ri, &h0};
    if (auto s = reader.read_reals(dims); s != ReadStatus::ok) return from_read_status(s);
    if (!put(report, pipe_dimensions_line(ri, h0))) return write_failed;

    const float rh = half_radius(ri);
    if (!put(report, table_header_lines())) return write_failed;

    // Declared once for the whole table: a reading cut short by a slash or a
    // null value keeps the previous reading's values for the items it leaves out.
    float dtheta = 0.0f;
    float tmed = 0.0f;
    float tmax = 0.0f;
    float* const reading[] = {&dtheta, &tmed, &tmax};
    for (int number = 1; number <= max_readings; ++number) {
        const ReadStatus s = reader.read_reals(reading);
        if (s == ReadStatus::end_of_file) break;  // the normal end; a partial reading is dropped
        if (s != ReadStatus::ok) return from_read_status(s);
        const ReadingResult r = solve_reading(rh, h0, dtheta, tmed, tmax, console_in, console_out);
        if (!put(report, reading_row(number, dtheta, tmed, tmax, r))) return write_failed;
    }
    if (!put(report, table_footer_lines())) return write_failed;
    return {};
}

int velpra_main(int argc, const char* const* argv, std::istream& console_in,
                std::ostream& console_out, std::ostream& console_err)
{
    if (argc != 2) {
        for (const auto& line : usage_lines()) console_out << line << '\n';
        console_out.flush();
        return 0;
    }
    const std::string file_arg = file_argument(argv[1]);
    const std::string data_name = file_arg.substr(0, file_arg.find_last_not_of(' ') + 1);

    RunError err;
    std::string err_file = data_name;
    std::ifstream data;
    errno = 0;
    // A directory opens on POSIX but cannot be read as a data set: refuse it
    // here, before the report is touched, like any file that cannot be opened.
    std::error_code ec;
    if (std::filesystem::is_directory(data_name, ec)) {
        errno = EISDIR;
    } else {
        data.open(data_name, std::ios::binary);
    }
    if (!data.is_open()) {
        const int code = errno;
        err = {code == ENOENT ? ErrorKind::file_not_found : ErrorKind::open_failed, 1,
               code != 0 ? std::strerror(code) : ""};
    } else {
        std::ofstream report;
        errno = 0;
        report.open(report_name, std::ios::binary | std::ios::trunc);
        if (!report.is_open()) {
            const int code = errno;
            err = {ErrorKind::open_failed, 2, code != 0 ? std::strerror(code) : ""};
        } else {
            err = process(data, report, file_arg, console_in, console_out);
            data.close();
            report.close();
            if (report.fail() && err.kind == ErrorKind::none) err = write_failed;
        }
        if (err.unit == 2) err_file = report_name;
    }
    if (err.kind == ErrorKind::none) return 0;

    console_err << "velpra: " << kind_text(err.kind);
    if (!err.reason.empty()) console_err << " (" << err.reason << ")";
    console_err << ", unit " << err.unit << ", file '" << err_file << "'\n";
    return 2;
}

}  // namespace velpra
