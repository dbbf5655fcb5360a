#include "app/screens.h"

namespace lorvex {
namespace {

const std::string kRule = std::string(79, '\xCD') + "\n";

constexpr const char* kVersion = "1.05/W";

}  // namespace

std::string bannerScreen() {
    return kRule + " LORVEX       ***  Transmisja danych KASA ER-ORVEX <--> PC\n" + kRule +
           "LORVEX /H    - Pomoc\n"
           "LORVEX /V    - Program Info\n" +
           kRule;
}

// Polish letters as Mazovia bytes: \xA7 ż, \xA2 ó, \x91 ę, \x92 ł, \x9E ś, \xA4 ń.
std::string helpScreen() {
    return "U\xA7ycie: LORVEX /P<port> /F<zbi\xA2r> [/L] [/D] [/C<c>] [/K]\n"
           "Dost\x91pne opcje:\n"
           "  /P<v> - port          /F<s> - plik \n"
           "  /L - Load             /D - Dump\n"
           "  /S<v> - J\x91zyk\n"
           "     1 - Mazowia   2 - Latin   3 - Bez\n"
           "  /C<c> - Komenda\n"
           "     A - flagi           F - Rabaty / narzuty\n"
           "     B - nag\x92\xA2wek        G - dzia\x92y\n"
           "     C - stopka          H - towary\n"
           "     D - kasjer          I - kody bezpo\x9Erednie\n"
           "     E - tablica halo    J - stawki PTU\n"
           "     K - raport kasy\n"
           "     L - raport sprzeda\xA7y w dzia\x92"
           "ach\n"
           "     M - raport sprzeda\xA7y PLU\n"
           "     N - raport opakowa\xA4\n"
           "  dla kas solvek\n"
           "     O - raport godzinowy\n"
           "     P - raport kasjer\xA2w\n"
           "     R - raport dobowy\n"
           "     S - raport kasowy\n"
           "     T - raport kart rabatowych\n"
           "     U - flagi kasa solvek\n"
           "     W - karty rabatowe\n"
           "     Y - kody dowiazane\n"
           " /R  - zerowanie licznik\xA2w       /U1 - Mazanie\n"
           " /A  - brak sprawdzania EAN      /M - PLU > 1000\n"
           " /B  - 19200                     /W - kasa solvek\n";
}

std::string programInfoScreen() {
    return kRule + "\xFE LORVEX & SOLVEK ver. " + kVersion + "\n" + "Compiled: " + __TIME__ + "; " +
           __DATE__ + ".\n" + kRule;
}

void printBanner(Console& console) {
    console.print(bannerScreen(), TextEncoding::Mazovia);
}
void printHelp(Console& console) {
    console.print(helpScreen(), TextEncoding::Mazovia);
}
void printProgramInfo(Console& console) {
    console.print(programInfoScreen(), TextEncoding::Mazovia);
}

}  // namespace lorvex
