#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/charset.h"

namespace lorvex {

// The exchange-file line of each one-answer report, decoded from the register's answer text
// (without the ETX of its frame). What each total counts is the register's business; the order
// and the scaling of the fields are fixed here.

// "PLT" and eight money totals.
std::string registerReportLine(std::string_view answer);
// "PLD%02d", the department's name (converted from the register's letters), two money fields.
std::string departmentReportLine(std::string_view answer, int department, CharsetMode mode);
// "PLH%02d": an amount, two counts and a signed amount.
std::string hourlyReportLine(std::string_view answer, int hour);
// "PLK%02d" with seventeen fields; none when the register marks the cashier as not to be listed
// (anything but '+' at position 3).
std::optional<std::string> cashierReportLine(std::string_view answer, int cashier);
// "PLD" and a comma: the day's text, a number, eleven money and count fields.
std::string dailyReportLine(std::string_view answer);
// "PLP00": a signed amount, ten amounts, four counts, two amounts 20 wide.
std::string cashReportLine(std::string_view answer);
// "PLK00": the card text and one figure in tenths.
std::string cardReportLine(std::string_view answer);
// The digit at position 2 of the state answer.
int stateDigit(std::string_view answer);

}  // namespace lorvex
