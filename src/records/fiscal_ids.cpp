#include "records/fiscal_ids.h"

#include "core/answer_reader.h"
#include "core/load_loop.h"

namespace lorvex {
namespace {

// Any answer that is not an error answer is taken as the data.
StatusCode readAnswer(Run& run, char letter, std::string& answer) {
    Answer read = askRegister(run, buildRequest(letter, 0, 0, 0));
    if (!read.hasText()) return read.status;
    answer = std::move(read.text);
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

namespace {

// UNI and NIP: one text answer, written as one line.
StatusCode readIdentifier(Run& run, char letter, std::string (*line)(std::string_view)) {
    std::string answer;
    const StatusCode status = readAnswer(run, letter, answer);
    if (status != 0) return status;
    run.write(line(answer));
    return 0;
}

}  // namespace

StatusCode readUniNumber(Run& run) {
    return readIdentifier(run, 'M', uniLine);
}

StatusCode readNipNumber(Run& run) {
    return readIdentifier(run, 'N', nipLine);
}

}  // namespace lorvex
