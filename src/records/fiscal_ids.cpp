#include "records/fiscal_ids.h"

#include "records/record_exchange.h"

namespace lorvex {
namespace {

// Any answer that is not an error answer is taken as the data.
StatusCode readAnswer(Run& run, char letter, std::string& answer) {
    const StatusCode status = requestAnswer(run, buildRequest(letter, 0, 0, 0), answer);
    if (status != 0) return status;
    if (isErrorAnswer(answer)) return errorAnswerStatus(answer);
    return 0;
}

}  // namespace

StatusCode readVatRates(Run& run, VatRates& rates) {
    std::string answer;
    const StatusCode status = readAnswer(run, 'K', answer);
    if (status != 0) return status;
    const std::optional<VatRates> read = vatRatesFromAnswer(answer);
    if (!read) return kUnreadableAnswer;
    rates = *read;
    run.write(vatLine(rates));
    return 0;
}

StatusCode readUniNumber(Run& run) {
    std::string answer;
    const StatusCode status = readAnswer(run, 'M', answer);
    if (status != 0) return status;
    run.write(uniLine(answer));
    return 0;
}

StatusCode readNipNumber(Run& run) {
    std::string answer;
    const StatusCode status = readAnswer(run, 'N', answer);
    if (status != 0) return status;
    run.write(nipLine(answer));
    return 0;
}

}  // namespace lorvex
