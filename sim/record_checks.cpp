#include "sim/record_checks.h"

#include <algorithm>

#include "sim/register_memory.h"
#include "sim/status_codes.h"
#include "sim/wire_fields.h"

namespace lorvex::sim::detail {

int readBounded(std::string_view field, std::int64_t largest, std::int64_t& out) {
    const NumberField number = readNumberField(field);
    if (!number.number()) return status::kBadDigits;
    if (number.negative && number.magnitude > 0) return status::kValueTooLarge;
    if (number.magnitude > static_cast<std::uint64_t>(largest)) return status::kValueTooLarge;
    out = number.value();
    return status::kOk;
}

int readBoundedInt(std::string_view field, int largest, int& out) {
    std::int64_t value = 0;
    const int code = readBounded(field, largest, value);
    if (code == status::kOk) out = static_cast<int>(value);
    return code;
}

int checkText(std::string_view text) {
    return isPrintableText(text) ? status::kOk : status::kBadName;
}

int checkFlagChars(std::string_view flags) {
    const bool good = std::all_of(flags.begin(), flags.end(),
                                  [](char c) { return c == '0' || c == '1' || c == ' '; });
    return good ? status::kOk : status::kBadFlag;
}

int checkVatLetter(char letter) {
    return letter >= 'A' && letter < 'A' + kVatRateCount ? status::kOk : status::kBadVat;
}

}  // namespace lorvex::sim::detail
