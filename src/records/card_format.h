#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lorvex {

// A discount card's sixteen fields: ten three-digit values, a two-digit and a one-digit value, a
// text of six characters, then two-, one- and two-digit values. `numbers` holds the fifteen
// numeric fields in order (fields 1 to 12, then 14 to 16).
struct DiscountCard {
    std::array<int, 15> numbers{};
    std::string text;
};

// The fields of a "KRT" line from position 3: the card number, then the card.
struct CardLine {
    int cardNumber = 0;
    DiscountCard card;
};
// Nothing when a number field holds other text.
std::optional<CardLine> cardFromLine(std::string_view line);

// "Dj0", the fields zero-filled to their digits, the text cut or blank-filled to six (47
// characters). Empty when a value is negative or wider than its digits.
std::optional<std::string> cardRecord(const DiscountCard& card);

// The line of one data block: "KRT%5d," with the card number, then the sixteen fields as the
// register sent them. Empty when the answer is too short to hold them.
std::optional<std::string> cardLine(int cardNumber, std::string_view answer);

// A pair of goods codes: the second is linked to the first.
struct LinkedCode {
    long long first = 0;
    long long second = 0;
};

// The two codes of a "KDW" line from position 3; empty when one does not fit 18 places or is
// not a number.
std::optional<LinkedCode> linkedCodeFromLine(std::string_view line);

// "Dh" and the two codes right-aligned in 18 characters each (38 characters); empty when one does
// not fit.
std::optional<std::string> linkedCodeRecord(const LinkedCode& codes);

// The request of the whole table: "Sh0" and 36 blanks.
std::string linkedCodeTableRequest();

// The line of one data block: "KDW", the 18 characters at 2, a comma, the 18 at 20. Empty when the
// answer is too short to hold them.
std::optional<std::string> linkedCodeLine(std::string_view answer);

}  // namespace lorvex
