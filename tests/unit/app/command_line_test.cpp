#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvex {
namespace {

// The settings that the command line sets, in one line.
std::string settingsOf(const std::vector<std::string>& args) {
    const Settings s = parseCommandLine(joinArguments(args));
    return "P" + std::to_string(s.port) + " F" + s.fileName + " C" + s.commandLetter +
           (s.direction == Direction::Load ? " L" : " D") + " U" + std::to_string(s.recordAction) +
           " R" + std::to_string(s.reportMode) + " K" + std::to_string(s.channel) + " S" +
           std::to_string(static_cast<int>(s.charsetMode));
}

// The command line is upper-cased, a value runs to the next slash, the first occurrence of a key
// counts and numbers read like atoi.
TEST(CommandLine, KeysAndValues) {
    const std::string mazovia = std::to_string(static_cast<int>(CharsetMode::Mazovia));
    const std::string rest = " U1 R0 K0 S" + mazovia;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "P1 Fstd.dat C? D" + rest},
        {{"/P2", "/FDANE.TXT", "/CG", "/L"}, "P2 FDANE.TXT CG L" + rest},
        {{"/p2/fdane.txt/cg/l"}, "P2 FDANE.TXT CG L" + rest},
        {{"/CA/?"}, "P1 Fstd.dat C? D" + rest},
        {{"/L/D"}, "P1 Fstd.dat C? D" + rest},
        {{"/P1/P2"}, "P1 Fstd.dat C? D" + rest},
        {{"/PORT1"}, "P0 Fstd.dat C? D" + rest},
        {{"/U 1/R"}, "P1 Fstd.dat C? D U0 R2 K0 S" + mazovia},
        {{"/U2"}, "P1 Fstd.dat C? D" + rest},
        {{"/K99999999999/S3"},
         "P1 Fstd.dat C? D U1 R0 K2147483647 S" +
             std::to_string(static_cast<int>(CharsetMode::None))},
        {{"/S5"}, "P1 Fstd.dat C? D" + rest},
        {{"/FC:/DANE.TXT"}, "P1 FC: C? D" + rest},
        {{"/FDANE.TXT /L"}, "P1 FDANE.TXT  C? L" + rest},
        {{"/C"}, "P1 Fstd.dat C" + std::string(1, '\0') + " D" + rest},
        {{"/C\xC4"}, "P1 Fstd.dat C\xC4 D" + rest},
        {{"/F" + std::string(5000, 'X')}, "P1 F" + std::string(5000, 'X') + " C? D" + rest},
    };
    for (const auto& [args, settings] : cases) {
        EXPECT_EQ(settingsOf(args), settings) << (args.empty() ? "" : args[0].substr(0, 20));
    }
}

}  // namespace
}  // namespace lorvex
