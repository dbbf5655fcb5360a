#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace lorvex::test {

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The value right-aligned in `width`, as the report lines print their figures.
inline std::string right(const std::string& value, std::size_t width = 20) {
    return std::string(width > value.size() ? width - value.size() : 0, ' ') + value;
}

// True when the log holds exactly these messages, each named by its beginning.
inline bool logIs(const std::string& log, const std::vector<std::string>& starts) {
    const std::vector<std::string> lines = linesOf(log);
    if (lines.size() != starts.size()) return false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(starts[i], 0) != 0) return false;
    }
    return true;
}

}  // namespace lorvex::test
