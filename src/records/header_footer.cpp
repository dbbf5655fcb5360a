#include "records/header_footer.h"

#include "records/receipt_text.h"
#include "text/fields.h"

namespace lorvex {
namespace {

StatusCode transferReceiptText(Run& run, const ReceiptKind& kind, Direction direction,
                               std::string& text) {
    if (direction == Direction::Dump) {
        const Answer answer = askRegister(run, buildRequest(kind.letter, 0, 0, 0));
        if (!answer.hasText()) return answer.status;
        traceAnswer(run, answer.text);
        text.assign(answerField(answer.text, 2, kind.width));
        convertText(text, 0, run.settings.charsetMode);
        run.write(receiptLine(kind, text));
        return 0;
    }
    return sendLoadRecord(run, buildRequest(kind.letter, 1, 0, 0), receiptRecord(kind, text),
                          kind.traceLabel);
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
    return LineResult::sent(transferReceiptText(run, kind, Direction::Load, text));
}

}  // namespace

StatusCode transferHeader(Run& run, Direction direction, std::string& text) {
    return transferReceiptText(run, kHeader, direction, text);
}

StatusCode transferFooter(Run& run, Direction direction, std::string& text) {
    return transferReceiptText(run, kFooter, direction, text);
}

LineResult loadHeaderLine(Run& run, std::string_view line) {
    return loadReceiptLine(run, kHeader, line);
}

LineResult loadFooterLine(Run& run, std::string_view line) {
    return loadReceiptLine(run, kFooter, line);
}

}  // namespace lorvex
