#include <gtest/gtest.h>

#include <string>

#include "link/status_log.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

TEST(StatusMessage, NumberedPolishLinesInEachEncoding) {
    struct Case {
        StatusCode code;
        CharsetMode mode;
        std::string expected;
    };
    const Case cases[] = {
        {7, CharsetMode::Latin, "07  Przekroczona warto\x98\x86 numeryczna - 3, kod: 590123\n"},
        {28, CharsetMode::None, "35  Bledny znak flagi\n"},
        {32, CharsetMode::None, "40  Niezerowe totalizery- 3, kod: 590123\n"},
        {100, CharsetMode::None, "100  bledny status transmisji\n"},
        {-5, CharsetMode::None, "-5  bledny status transmisji\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(statusMessage(c.code, 3, "590123", c.mode), c.expected)
            << c.code << " in mode " << static_cast<int>(c.mode);
    }
}

// The notice line goes first for a code above three; a trace level echoes each message (the
// plain-letters echo keeps the accented o of "tandemów").
TEST(StatusLog, CreatedOnTheFirstFailureAndEchoedAtATraceLevel) {
    struct Case {
        CharsetMode mode;
        int traceLevel;
        StatusCode first;
        std::string file;
        std::string echo;
    };
    const Case cases[] = {
        {CharsetMode::Mazovia, 0, 7,
         "99  Uwaga! wszystkie b\x92\x91"
         "dy zapisano w pliku: error.orv\n"
         "07  Przekroczona warto\x9E\x8D numeryczna - 3, kod: \n",
         ""},
        {CharsetMode::Mazovia, 1, 2,
         "02  B\x92\x91"
         "dny typ transmisji\n",
         "er=02  Błędny typ transmisji\n\n"},
        {CharsetMode::None, 1, 23,
         "99  Uwaga! wszystkie bledy zapisano w pliku: error.orv\n23  Blad tandem\xA2w\n",
         "er=23  Blad tandemów\n\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CapturingConsole console;
        const auto path = dir.path() / "error.orv";
        StatusLog log(path, c.mode, c.traceLevel, console);
        log.report(0, 3, "");
        EXPECT_FALSE(std::filesystem::exists(path)) << "a success writes nothing";
        log.report(c.first, 3, "");
        log.close();
        EXPECT_EQ(readText(path), c.file) << c.first;
        EXPECT_EQ(console.text(), c.echo) << c.first;
    }
}

TEST(StatusLog, ALogThatCouldNotBeCreatedIsTriedAgain) {
    TempDir dir;
    CapturingConsole console;
    const auto folder = dir.path() / "later";
    StatusLog log(folder / "error.orv", CharsetMode::None, 0, console);
    log.report(2, 0, "");
    std::filesystem::create_directory(folder);
    log.report(61, 0, "");
    log.close();
    EXPECT_EQ(readText(folder / "error.orv"),
              "99  Uwaga! wszystkie bledy zapisano w pliku: error.orv\n"
              "61  Blad otwarcia pliku\n");
}

}  // namespace
}  // namespace lorvex::test
