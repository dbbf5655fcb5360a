#include "app/command_line.h"

#include <gtest/gtest.h>

#include <functional>

namespace lorvex {
namespace {

Settings parse(const std::vector<std::string>& args) {
    return parseCommandLine(joinArguments(args));
}

// The command line is upper-cased, a value runs to the next slash, the first occurrence of a key
// counts and numbers read like atoi.
TEST(CommandLine, KeysAndValues) {
    struct Case {
        std::vector<std::string> args;
        std::function<bool(const Settings&)> holds;
    };
    const Case cases[] = {
        {{},
         [](const Settings& s) {
             return s.port == 1 && s.fileName == "std.dat" && s.direction == Direction::Dump &&
                    s.commandLetter == '?' && s.recordAction == 1 && s.reportMode == 0;
         }},
        {{"/P2", "/FDANE.TXT", "/CG", "/L"},
         [](const Settings& s) {
             return s.port == 2 && s.fileName == "DANE.TXT" && s.commandLetter == 'G' &&
                    s.direction == Direction::Load;
         }},
        {{"/p2/fdane.txt/cg/l"},
         [](const Settings& s) {
             return s.port == 2 && s.fileName == "DANE.TXT" && s.commandLetter == 'G' &&
                    s.direction == Direction::Load;
         }},
        {{"/CA/V/H"}, [](const Settings& s) { return s.commandLetter == 'v'; }},
        {{"/CA/?"}, [](const Settings& s) { return s.commandLetter == '?'; }},
        {{"/L/D"}, [](const Settings& s) { return s.direction == Direction::Dump; }},
        {{"/P1/P2"}, [](const Settings& s) { return s.port == 1; }},
        {{"/U 1"}, [](const Settings& s) { return s.recordAction == 0; }},
        {{"/U2"}, [](const Settings& s) { return s.recordAction == 1; }},
        {{"/PORT1"}, [](const Settings& s) { return s.port == 0; }},
        {{"/K99999999999"}, [](const Settings& s) { return s.channel == 2147483647; }},
        {{"/S3"}, [](const Settings& s) { return s.charsetMode == CharsetMode::None; }},
        {{"/S5"}, [](const Settings& s) { return s.charsetMode == CharsetMode::Mazovia; }},
        {{"/FC:/DANE.TXT"},
         [](const Settings& s) { return s.fileName == "C:" && s.direction == Direction::Dump; }},
        {{"/FDANE.TXT /L"}, [](const Settings& s) { return s.fileName == "DANE.TXT "; }},
        {{"/C"}, [](const Settings& s) { return s.commandLetter == '\0'; }},
        {{"/C\xC4"}, [](const Settings& s) { return s.commandLetter == '\xC4'; }},
        {{"/F" + std::string(5000, 'X')},
         [](const Settings& s) { return s.fileName == std::string(5000, 'X'); }},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.holds(parse(c.args))) << (c.args.empty() ? "" : c.args[0].substr(0, 20));
    }
}

}  // namespace
}  // namespace lorvex
