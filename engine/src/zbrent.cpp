#include "zbrent.hpp"

#include <iostream>
#include <string>

namespace velpra {

void zbrent_wait(std::istream& console_in, std::ostream& console_out)
{
    // Whatever the operator types is ignored: only an empty line (Enter)
    // continues. Without a console (end of input, read error) nobody can
    // answer, so the wait ends at once instead of repeating the message.
    std::string line;
    for (;;) {
        console_out << zbrent_limit_message << '\n' << std::flush;
        if (!std::getline(console_in, line)) return;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) return;
    }
}

}  // namespace velpra
