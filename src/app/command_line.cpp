#include "app/command_line.h"

#include <optional>
#include <string_view>

#include "text/numbers.h"

namespace lorvex {
namespace {

// The text after the first occurrence of the key, up to the next '/' or the end; nothing when the
// key does not occur. A longer key with the same two first characters matches too (/PORT1).
std::optional<std::string_view> optionValue(std::string_view line, std::string_view key) {
    const std::size_t at = line.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t start = at + key.size();
    const std::size_t end = line.find('/', start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

bool hasOption(std::string_view line, std::string_view key) {
    return line.find(key) != std::string_view::npos;
}

}  // namespace

std::string joinArguments(const std::vector<std::string>& args) {
    std::string joined;
    for (const std::string& arg : args) joined += arg;
    return joined;
}

Settings parseCommandLine(std::string commandString) {
    for (char& c : commandString) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    const std::string_view line = commandString;
    Settings s;

    // Applied in this order, so where two options set the same thing the later one wins.
    if (auto v = optionValue(line, "/P")) {
        s.port = readInt(*v);
        s.portValue = std::string(*v);
    } else {
        s.portValue = "1";
    }
    if (auto v = optionValue(line, "/U")) s.recordAction = readInt(*v) == 1 ? 0 : 1;
    if (hasOption(line, "/R")) s.reportMode = 2;
    if (auto v = optionValue(line, "/C")) s.commandLetter = v->empty() ? '\0' : v->front();
    if (auto v = optionValue(line, "/Q")) s.traceLevel = readInt(*v);
    if (hasOption(line, "/L")) s.direction = Direction::Load;
    if (hasOption(line, "/D")) s.direction = Direction::Dump;
    if (hasOption(line, "/B")) s.baud19200 = true;
    if (hasOption(line, "/?")) s.commandLetter = '?';
    if (hasOption(line, "/H")) s.commandLetter = 'h';
    if (hasOption(line, "/V")) s.commandLetter = 'v';
    if (hasOption(line, "/W")) s.solvekFamily = true;
    if (hasOption(line, "/E")) s.skipHourlyReport = true;
    if (hasOption(line, "/M")) s.largePluNumbers = true;
    if (hasOption(line, "/A")) s.skipEanCheck = true;
    if (auto v = optionValue(line, "/F")) s.fileName = std::string(*v);
    if (auto v = optionValue(line, "/J")) s.resultFileName = std::string(*v);
    if (auto v = optionValue(line, "/K")) s.channel = readInt(*v);
    if (auto v = optionValue(line, "/S")) {
        switch (readInt(*v)) {
            case 2:
                s.charsetMode = CharsetMode::Latin;
                break;
            case 3:
                s.charsetMode = CharsetMode::None;
                break;
            case 4:
                s.charsetMode = CharsetMode::Latin;
                s.utf8Files = true;
                break;
            default:
                s.charsetMode = CharsetMode::Mazovia;
                break;
        }
    }
    return s;
}

Settings parseArguments(const std::vector<std::string>& args) {
    Settings settings = parseCommandLine(joinArguments(args));
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") settings.commandLetter = 'h';
        if (arg == "--version") settings.commandLetter = 'n';
    }
    return settings;
}

}  // namespace lorvex
