#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
        {1, CharsetMode::Mazovia,
         "01  B\x92\x91"
         "dny typ zadania\n"},
        {1, CharsetMode::None, "01  Bledny typ zadania\n"},
        {1, CharsetMode::Latin,
         "01  B\x88\xA9"
         "dny typ zadania\n"},
        {-1, CharsetMode::Mazovia,
         "60 Brak po\x92\x86"
         "czenia lub z\x92"
         "a pozycja kluczyka\n"},
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

TEST(StatusLog, CreatedOnTheFirstFailureWithTheNoticeLineAboveThree) {
    struct Case {
        StatusCode first;
        std::string expected;
    };
    const Case cases[] = {
        {7,
         "99  Uwaga! wszystkie b\x92\x91"
         "dy zapisano w pliku: error.orv\n"
         "07  Przekroczona warto\x9E\x8D numeryczna - 3, kod: \n"},
        {2,
         "02  B\x92\x91"
         "dny typ transmisji\n"},
        {-1,
         "60 Brak po\x92\x86"
         "czenia lub z\x92"
         "a pozycja kluczyka\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CapturingConsole console;
        const auto path = dir.path() / "error.orv";
        StatusLog log(path, CharsetMode::Mazovia, 0, console);
        log.report(0, 3, "");
        EXPECT_FALSE(std::filesystem::exists(path)) << "a success writes nothing";
        log.report(c.first, 3, "");
        log.close();
        EXPECT_EQ(readText(path), c.expected) << c.first;
        EXPECT_EQ(console.text(), "") << "no echo without a trace level";
    }
}

// The plain-letters echo keeps the accented o of "tandemów".
TEST(StatusLog, EchoesEachMessageAtATraceLevel) {
    const std::tuple<CharsetMode, StatusCode, std::string> cases[] = {
        {CharsetMode::Mazovia, 2, "er=02  Błędny typ transmisji\n\n"},
        {CharsetMode::Mazovia, 61, "er=61  Błąd otwarcia pliku\n\n"},
        {CharsetMode::None, 23, "er=23  Blad tandemów\n\n"}};
    for (const auto& [mode, code, echo] : cases) {
        TempDir dir;
        CapturingConsole console;
        StatusLog log(dir.path() / "error.orv", mode, 1, console);
        log.report(code, 0, "");
        EXPECT_EQ(console.text(), echo);
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
