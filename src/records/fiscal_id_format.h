#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lorvex {

// The six VAT rates in percent, in the register's order of tax groups.
using VatRates = std::array<double, 6>;

// Four characters each from position 2, in hundredths; empty when the answer is too short.
std::optional<VatRates> vatRatesFromAnswer(std::string_view answer);

// "VAT", each rate as ",%5.2f", a line feed.
std::string vatLine(const VatRates& rates);

// "UNI," and the ten characters at position 2 right-aligned in ten places, a line feed.
std::string uniLine(std::string_view answer);

// "NIP," and the thirteen characters at position 2, at least ten places wide, a line feed.
std::string nipLine(std::string_view answer);

}  // namespace lorvex
