#include "records/header_footer.h"

#include "core/load_fields.h"
#include "records/receipt_text.h"

namespace lorvex {
namespace {

StatusCode transferReceiptText(Run& run, const ReceiptKind& kind, int direction,
                               std::string& text) {
    if (direction == 0) {
        std::string answer;
        const StatusCode status = requestAnswer(run, buildRequest(kind.letter, 0, 0, 0), answer);
        if (status != 0) return status;
        if (isErrorAnswer(answer)) return errorAnswerStatus(answer);
        traceAnswer(run, answer);
        text.assign(answerField(answer, 2, kind.width));
        convertText(text, 0, run.settings.charsetMode);
        run.write(receiptLine(kind, text));
        return 0;
    }
    if (direction == 1) {
        return sendLoadRecord(run, buildRequest(kind.letter, 1, 0, 0), receiptRecord(kind, text),
                              kind.traceLabel);
    }
    return 0;
}

LineResult loadReceiptLine(Run& run, const ReceiptKind& kind, std::string_view line) {
    std::string prefix(kind.prefix);
    prefix += ',';
    if (!lineHasPrefix(line, prefix)) return LineResult::skipped();
    std::string text = receiptTextFromLine(line);
    if (kind.echoesLoadText && run.settings.traceLevel >= 1) {
        run.trace(1, text + '\n', consoleEncoding(run.settings.charsetMode));
    }
    convertText(text, 1, run.settings.charsetMode);
    return LineResult::sent(transferReceiptText(run, kind, 1, text));
}

}  // namespace

StatusCode transferHeader(Run& run, int direction, std::string& text) {
    return transferReceiptText(run, kHeader, direction, text);
}

StatusCode transferFooter(Run& run, int direction, std::string& text) {
    return transferReceiptText(run, kFooter, direction, text);
}

LineResult loadHeaderLine(Run& run, std::string_view line) {
    return loadReceiptLine(run, kHeader, line);
}

LineResult loadFooterLine(Run& run, std::string_view line) {
    return loadReceiptLine(run, kFooter, line);
}

}  // namespace lorvex
