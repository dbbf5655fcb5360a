#include "records/fiscal_id_format.h"

#include "link/register_link.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

constexpr std::size_t kRateWidth = 4;

}  // namespace

std::optional<VatRates> vatRatesFromAnswer(std::string_view answer) {
    VatRates rates{};
    if (answer.size() < 2 + rates.size() * kRateWidth) return std::nullopt;
    for (std::size_t i = 0; i < rates.size(); ++i) {
        rates[i] = readDouble(answerField(answer, 2 + kRateWidth * i, kRateWidth)) * 0.01;
    }
    return rates;
}

std::string vatLine(const VatRates& rates) {
    std::string line = "VAT";
    for (const double rate : rates) line += format(",%5.2f", rate);
    line += '\n';
    return line;
}

std::string uniLine(std::string_view answer) {
    return "UNI," + padLeft(answerField(answer, 2, 10), 10) + '\n';
}

std::string nipLine(std::string_view answer) {
    return "NIP," + padLeft(answerField(answer, 2, 13), 10) + '\n';
}

}  // namespace lorvex
