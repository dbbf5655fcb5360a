#include "app/screens.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/codepages.h"

namespace lorvex {
namespace {

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Screens, BannerIsMazoviaBytesWithBoxRules) {
    const std::string rule = std::string(79, '\xCD') + "\n";
    EXPECT_EQ(bannerScreen(),
              rule + " LORVEX       ***  Transmisja danych KASA ER-ORVEX <--> PC\n" + rule +
                  "LORVEX /H    - Pomoc\nLORVEX /V    - Program Info\n" + rule);
}

TEST(Screens, HelpHasItsLinesAndPolishLetters) {
    const std::string help = helpScreen();
    EXPECT_EQ(lineCount(help), 28);
    EXPECT_EQ(help.substr(0, 7), "U\xA7ycie:");
    EXPECT_NE(help.find("  /P<v> - port          /F<s> - plik \n"), std::string::npos);
    const std::string utf8 = toUtf8(help, TextEncoding::Mazovia);
    for (const char* shown :
         {"Użycie", "zbiór", "Dostępne", "Język", "nagłówek", "działy", "bezpośrednie",
          "sprzedaży w działach", "opakowań", "kasjerów", "liczników"}) {
        EXPECT_NE(utf8.find(shown), std::string::npos) << shown;
    }
}

TEST(Screens, ProgramInfoCarriesVersionAndBuildTime) {
    const std::string info = programInfoScreen();
    EXPECT_EQ(lineCount(info), 4);
    EXPECT_NE(info.find("\n\xFE LORVEX & SOLVEK ver. 1.05/W\n"), std::string::npos);
    // "Compiled: 09:02:43; Apr 21 2008." from the compiler's build time and date.
    const std::size_t at = info.find("Compiled: ");
    ASSERT_NE(at, std::string::npos);
    const std::string stamp = info.substr(at, info.find('\n', at) - at);
    EXPECT_EQ(stamp.size(), std::string("Compiled: 09:02:43; Apr 21 2008.").size()) << stamp;
    EXPECT_EQ(stamp.substr(18, 2), "; ");
    const std::string utf8 = toUtf8(info, TextEncoding::Mazovia);
    EXPECT_EQ(utf8.substr(0, 3), "═");
    EXPECT_NE(utf8.find("■ LORVEX"), std::string::npos);
}

}  // namespace
}  // namespace lorvex
