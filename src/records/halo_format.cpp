#include "records/halo_format.h"

#include "link/register_link.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

constexpr int kAmountWidth = 10;

}  // namespace

std::optional<std::string> haloRecord(const HaloTable& amounts) {
    std::string record = "DE";
    for (const double amount : amounts) {
        const std::optional<std::string> field = hundredthsField(amount, kAmountWidth, false);
        if (!field) return std::nullopt;
        record += *field;
    }
    return record;
}

std::optional<HaloTable> haloFromAnswer(std::string_view answer) {
    HaloTable amounts{};
    if (answer.size() < 2 + amounts.size() * kAmountWidth) return std::nullopt;
    for (std::size_t i = 0; i < amounts.size(); ++i) {
        amounts[i] = readDouble(answerField(answer, 2 + kAmountWidth * i, kAmountWidth)) * 0.01;
    }
    return amounts;
}

std::string haloLine(const HaloTable& amounts) {
    std::string line = "HAL";
    for (const double amount : amounts) line += format(",%10.2f", amount);
    line += '\n';
    return line;
}

std::optional<HaloTable> haloFromLine(std::string_view line) {
    FieldCursor fields(line, 4);
    HaloTable amounts{};
    for (double& amount : amounts) amount = fields.nextDouble();
    return fields.ifNumbersRead(amounts);
}

}  // namespace lorvex
