#pragma once

// What the job tests expect to read: error.orv messages as /S3 writes them (no Polish letters),
// the lines of a file, figures right-aligned as the report lines print them; and how they write
// a run's options or frames in a table row.

#include <string>
#include <vector>

namespace lorvex::test {

// The line error.orv opens with before the first message of a code above 3.
inline const std::string kNotice = "99  Uwaga! wszystkie bledy zapisano w pliku: error.orv\n";
inline const std::string kNoConnection = "60 Brak polaczenia lub zla pozycja kluczyka\n";
inline const std::string kBadData = "63  Zle dane w pliku\n";
inline const std::string kBadIndex = "36  Bledny index tablicy\n";
inline const std::string kLinkLost = "99  bledny status transmisji\n";

// The parts of a text between separators: "/CG /L" -> {"/CG", "/L"}; none of an empty text.
inline std::vector<std::string> split(const std::string& text, char separator = ' ') {
    std::vector<std::string> parts;
    for (std::size_t from = 0, at = 0; !text.empty() && at != std::string::npos; from = at + 1) {
        at = text.find(separator, from);
        parts.push_back(text.substr(from, at - from));
    }
    return parts;
}

// The lines of a text, without their line ends.
inline std::vector<std::string> linesOf(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return split(text, '\n');
}

inline std::string right(const std::string& value, std::size_t width = 20) {
    return std::string(width > value.size() ? width - value.size() : 0, ' ') + value;
}

}  // namespace lorvex::test
