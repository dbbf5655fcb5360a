#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lorvex {

// Fifteen money amounts, in the register's order.
using HaloTable = std::array<double, 15>;

// "DE" and fifteen "%10.0f" fields of amount x 100 (152 characters); empty when an amount does
// not fit its ten places.
std::optional<std::string> haloRecord(const HaloTable& amounts);

// The amounts of a data answer: ten characters each from position 2, in hundredths. Empty when
// the answer is too short to hold them all.
std::optional<HaloTable> haloFromAnswer(std::string_view answer);

// "HAL", then ",%10.2f" for each amount, then a line feed.
std::string haloLine(const HaloTable& amounts);

// The decimal fields of a "HAL," line from position 4; missing ones read as 0. Nothing when a
// field holds other text.
std::optional<HaloTable> haloFromLine(std::string_view line);

}  // namespace lorvex
