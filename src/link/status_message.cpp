#include <array>
#include <string>

#include "link/status_log.h"
#include "text/format.h"

namespace lorvex {
namespace {

// The message of each status. In the texts {l} {a} {e} {s} {c} stand for the Polish letters
// (ł ą ę ś ć) in the log's encoding, {n} for the item number and {k} for the item's code. The
// o with an acute accent is the byte 0xA2 in every encoding, so it stands as it is.
struct StatusText {
    StatusCode code;
    const char* text;
};

constexpr std::array<StatusText, 27> kMessages = {{
    {kNoAnswer, "60 Brak po{l}{a}czenia lub z{l}a pozycja kluczyka"},
    {1, "01  B{l}{e}dny typ zadania"},
    {2, "02  B{l}{e}dny typ transmisji"},
    {3, "03  B{l}{e}dny numer startu"},
    {4, "04  Niedopuszczalne znaki numeryczne kod: {k}"},
    {5, "05  Niedopuszczalne znaki, z{l}a nazwa - {n}, kod: {k}"},
    {7, "07  Przekroczona warto{s}{c} numeryczna - {n}, kod: {k}"},
    {8, "08  Brak elementu do usuni{e}cia lub niew{l}a{s}ciwy kod EAN/PLU - {n}, kod: {k}"},
    {9, "09  B{l}{e}dna stawka PTU - {n}, kod: {k}"},
    {14, "14  Niezaprogramowany numer unikatowy"},
    {15, "15  Przekroczona warto{s}{c} numeryczna - {n}, kod: {k}"},
    {17, "17  Brak papieru"},
    {18, "18  Baza PLU pe{l}na - {n}, kod: {k}"},
    {19, "19  Wzajemnie wykluczaj{a}ce si{e} flagi"},
    {20, "20  Tandem nie istnieje - {n}, kod: {k}"},
    {21, "21  B{l}{a}d bazy PLU"},
    {22, "22  B{l}{a}d pami{e}ci FLASH"},
    {23, "23  B{l}{a}d tandem\xA2w"},
    {25, "25  Niezaprogramowany zegar"},
    {26, "26  B{l}{a}d pami{e}ci RAM"},
    // The register's codes 28, 29, 31 and 32 carry the numbers of its manual.
    {28, "35  B{l}{e}dny znak flagi"},
    {29, "36  B{l}{e}dny index tablicy"},
    {31, "37  B{l}{e}dy wewn{e}trzne kasy"},
    {32, "40  Niezerowe totalizery- {n}, kod: {k}"},
    {kOpenFailed, "61  B{l}{a}d otwarcia pliku"},
    {62, "62  Z{l}e parametry wywo{l}ania"},
    {kBadFileData, "63  Z{l}e dane w pliku"},
}};

// Fills the placeholders of a message text.
std::string expand(std::string_view text, int itemNumber, std::string_view itemCode,
                   const PolishLetterRow& row) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t close = text.find('}', i);
        if (text[i] != '{' || close == std::string_view::npos) {
            out += text[i];
            continue;
        }
        const std::string_view name = text.substr(i + 1, close - i - 1);
        if (name == "l") out += static_cast<char>(row[kSmallL]);
        if (name == "a") out += static_cast<char>(row[kSmallA]);
        if (name == "e") out += static_cast<char>(row[kSmallE]);
        if (name == "s") out += static_cast<char>(row[kSmallS]);
        if (name == "c") out += static_cast<char>(row[kSmallC]);
        if (name == "n") out += format("%d", itemNumber);
        // The code is a C string on its way into the message: it ends at a zero byte.
        if (name == "k") out += itemCode.substr(0, itemCode.find('\0'));
        i = close;
    }
    return out;
}

}  // namespace

std::string statusMessage(StatusCode code, int itemNumber, std::string_view itemCode,
                          CharsetMode mode) {
    const PolishLetterRow& row = polishLetters(mode);
    for (const StatusText& message : kMessages) {
        if (message.code == code) return expand(message.text, itemNumber, itemCode, row) + '\n';
    }
    return format("%02d", code) + expand("  b{l}{e}dny status transmisji\n", 0, "", row);
}

}  // namespace lorvex
