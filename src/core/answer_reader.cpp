#include "core/answer_reader.h"

#include "link/frame.h"
#include "text/fields.h"

namespace lorvex {

AnswerKind answerKind(std::string_view answer) {
    if (answer.empty()) return AnswerKind::Other;
    if (answer[0] == 'D') return AnswerKind::Data;
    if (answer[0] == 'E') return AnswerKind::Error;
    return AnswerKind::Other;
}

StatusCode errorAnswerStatus(std::string_view answer) {
    const std::string_view digits = answerField(answer, 3, 2);
    return parseStatus(digits.size() > 0 ? digits[0] : '\0', digits.size() > 1 ? digits[1] : '\0');
}

StatusCode AnswerReader::receive() {
    const bool first = blocks_ == 0;
    if (first) {
        buffer_ = request_;
    } else {
        buffer_.clear();
    }
    ++blocks_;
    const StatusCode status = run_.link.receiveAnswer(buffer_, blockCounter_);
    // A call that got no frame leaves the buffer as it was.
    gotFrame_ = first ? buffer_ != request_ : !buffer_.empty();
    return status;
}

std::string_view AnswerReader::text() const {
    std::string_view text = buffer_;
    if (!text.empty()) {
        const auto last = static_cast<unsigned char>(text.back());
        if (last == ETX || last == ETB) text.remove_suffix(1);
    }
    return text;
}

AnswerKind AnswerReader::kind() const {
    return gotFrame_ ? answerKind(text()) : AnswerKind::None;
}

Answer askRegister(Run& run, const std::string& request) {
    AnswerReader reader(run, request);
    if (reader.receive() != 0 || reader.kind() == AnswerKind::None)
        return {kNoAnswer, AnswerKind::None, {}};
    const AnswerKind kind = reader.kind();
    const StatusCode status = kind == AnswerKind::Error ? errorAnswerStatus(reader.text()) : 0;
    return {status, kind, std::string(reader.text())};
}

namespace {

// False when the data answer could not be decoded.
bool writeDecoded(Run& run, std::string_view answer, const DecodeAnswer& decode) {
    const std::optional<std::string> line = decode(answer);
    if (line) run.write(*line);
    return line.has_value();
}

}  // namespace

StatusCode dumpAnswer(Run& run, const std::string& request, const DecodeAnswer& decode) {
    const Answer answer = askRegister(run, request);
    if (!answer.hasText()) return answer.status;
    traceAnswer(run, answer.text);
    if (answer.kind != AnswerKind::Data) return 0;
    return writeDecoded(run, answer.text, decode) ? 0 : kUnreadableAnswer;
}

StatusCode dumpBlocks(Run& run, const std::string& request, const DecodeAnswer& decode) {
    AnswerReader reader(run, request);
    bool unreadable = false;
    do {
        const StatusCode status = reader.receive();
        if (status != 0) return status;
        const AnswerKind kind = reader.kind();
        if (kind == AnswerKind::Error) return errorAnswerStatus(reader.text());
        if (kind != AnswerKind::None) traceAnswer(run, reader.text());
        if (kind == AnswerKind::Data && !writeDecoded(run, reader.text(), decode))
            unreadable = true;
    } while (reader.more());
    if (reader.cutShort()) return kLinkLost;
    return unreadable ? kUnreadableAnswer : 0;
}

void traceAnswer(Run& run, std::string_view answer) {
    if (run.settings.traceLevel < 1) return;
    std::string text(answer);
    text += '\n';
    run.trace(1, text, TextEncoding::Cp852);
}

}  // namespace lorvex
