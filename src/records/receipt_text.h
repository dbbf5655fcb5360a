#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lorvex {

// The receipt header and footer: blocks of text lines the register keeps as one fixed-width text,
// lines separated by CR or LF and the rest filled with 0xFF. In the exchange file one line:
// "NAG" or "STP", then a comma and the text of each line.
struct ReceiptKind {
    char letter;              // request and record letter
    std::size_t width;        // text width in the register
    std::string_view prefix;  // "NAG" or "STP"; load lines start with the prefix and a comma
    std::string_view traceLabel;
    bool echoesLoadText;  // the footer shows its prepared text at trace level 1
};

inline constexpr ReceiptKind kHeader{'B', 217, "NAG", "NAG>", false};
inline constexpr ReceiptKind kFooter{'C', 200, "STP", "STP>", true};

// The text of a load line: everything after the prefix and its comma, each comma a line feed.
std::string receiptTextFromLine(std::string_view line);

// The load record: "DB" or "DC", then the text (register letters) cut to the width or at a NUL
// and filled with 0xFF, the register's own fill.
std::string receiptRecord(const ReceiptKind& kind, std::string_view text);

// The exchange-file line of a text read from the register (already in the file's letters):
// a CR, LF or 0xFF ends each text line, a 0xFF also ends the text. Characters running to the
// end of the text without an end of their own still make a line, without the blank fill an older
// record may have left behind them.
std::string receiptLine(const ReceiptKind& kind, std::string_view text);

}  // namespace lorvex
