#include "app/command_line.h"

#include <gtest/gtest.h>

namespace lorvex {
namespace {

Settings parse(const std::vector<std::string>& args) {
    return parseCommandLine(joinArguments(args));
}

TEST(CommandLine, SeparateAndJoinedArgumentsMeanTheSame) {
    const Settings apart = parse({"/P2", "/FDANE.TXT", "/CG", "/L"});
    const Settings joined = parse({"/P2/FDANE.TXT/CG/L"});
    for (const Settings& s : {apart, joined}) {
        EXPECT_EQ(s.port, 2);
        EXPECT_EQ(s.fileName, "DANE.TXT");
        EXPECT_EQ(s.commandLetter, 'G');
        EXPECT_EQ(s.direction, Direction::Load);
    }
}

TEST(CommandLine, DefaultsWithNoArguments) {
    const Settings s = parse({});
    EXPECT_EQ(s.port, 1);
    EXPECT_EQ(s.fileName, "std.dat");
    EXPECT_EQ(s.direction, Direction::Dump);
    EXPECT_EQ(s.recordAction, 1);
    EXPECT_EQ(s.reportMode, 0);
    EXPECT_EQ(s.commandLetter, '?');
    EXPECT_EQ(s.charsetMode, CharsetMode::Mazovia);
    EXPECT_FALSE(s.baud19200 || s.solvekFamily || s.skipHourlyReport || s.largePluNumbers ||
                 s.skipEanCheck);
}

TEST(CommandLine, LowerCaseIsUpperCasedValuesToo) {
    const Settings s = parse({"/cg/l", "/fdane.txt"});
    EXPECT_EQ(s.commandLetter, 'G');
    EXPECT_EQ(s.direction, Direction::Load);
    EXPECT_EQ(s.fileName, "DANE.TXT");
}

TEST(CommandLine, LaterRowsOfTheOrderWin) {
    EXPECT_EQ(parse({"/CA/H"}).commandLetter, 'h');
    EXPECT_EQ(parse({"/CA/V/H"}).commandLetter, 'v');
    EXPECT_EQ(parse({"/CA/?"}).commandLetter, '?');
    EXPECT_EQ(parse({"/L/D"}).direction, Direction::Dump);
    EXPECT_EQ(parse({"/P1/P2"}).port, 1);  // the first occurrence of a key counts
}

TEST(CommandLine, NumbersReadLikeAtoi) {
    struct Case {
        const char* arg;
        int recordAction;
    } cases[] = {{"/U1", 0}, {"/U01", 0}, {"/U", 1}, {"/U0", 1}, {"/U2", 1}, {"/U 1", 0}};
    for (const Case& c : cases) EXPECT_EQ(parse({c.arg}).recordAction, c.recordAction) << c.arg;
    EXPECT_EQ(parse({"/PORT1"}).port, 0);  // /P with the value ORT1
    EXPECT_EQ(parse({"/Q-3"}).traceLevel, -3);
    EXPECT_EQ(parse({"/K99999999999"}).channel, 2147483647);  // saturates, never overflows
}

TEST(CommandLine, CharsetModes) {
    EXPECT_EQ(parse({"/S2"}).charsetMode, CharsetMode::Latin);
    EXPECT_EQ(parse({"/S3"}).charsetMode, CharsetMode::None);
    EXPECT_EQ(parse({"/S5"}).charsetMode, CharsetMode::Mazovia);
    EXPECT_EQ(parse({"/S"}).charsetMode, CharsetMode::Mazovia);
}

TEST(CommandLine, ValuesEndAtASlashAndKeepBlanks) {
    const Settings cut = parse({"/FC:/DANE.TXT"});
    EXPECT_EQ(cut.fileName, "C:");
    EXPECT_EQ(cut.direction, Direction::Dump);  // /DANE.TXT is /D
    EXPECT_EQ(parse({"/FDANE.TXT /L"}).fileName, "DANE.TXT ");
}

TEST(CommandLine, JobLetters) {
    EXPECT_EQ(parse({"/C"}).commandLetter, '\0');
    EXPECT_EQ(parse({"/CQ"}).commandLetter, 'Q');
    EXPECT_EQ(parse({"/C\xC4"}).commandLetter, '\xC4');
    EXPECT_EQ(parse({"/R"}).reportMode, 2);
}

TEST(CommandLine, AnyLengthIsTakenWhole) {
    const std::string longName(5000, 'X');
    const Settings s = parse({"/F" + longName, "/CG"});
    EXPECT_EQ(s.fileName, longName);
    EXPECT_EQ(s.commandLetter, 'G');
}

}  // namespace
}  // namespace lorvex
