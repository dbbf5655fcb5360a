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

inline std::string right(const std::string& value, std::size_t width) {
    return std::string(width > value.size() ? width - value.size() : 0, ' ') + value;
}

inline std::string zeros(std::size_t n) {
    return std::string(n, '0');
}

}  // namespace lorvex::test
