#include "records/receipt_text.h"

#include "text/fields.h"

namespace lorvex {
namespace {

constexpr char kFill = static_cast<char>(0xFF);

}  // namespace

std::string receiptTextFromLine(std::string_view line) {
    std::string text(line.substr(line.size() < 4 ? line.size() : 4));
    for (char& c : text) {
        if (c == ',') c = '\n';
    }
    return text;
}

std::string receiptRecord(const ReceiptKind& kind, std::string_view text) {
    return std::string{'D', kind.letter} + fitRight(text, kind.width, kFill);
}

std::string receiptLine(const ReceiptKind& kind, std::string_view text) {
    std::string line(kind.prefix);
    std::size_t pieceStart = 0;
    bool ended = false;
    for (std::size_t i = 0; i < text.size() && !ended; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n' && c != kFill) continue;
        line += ',';
        line.append(text.substr(pieceStart, i - pieceStart));
        pieceStart = i + 1;
        ended = c == kFill;
    }
    if (!ended && pieceStart < text.size()) {
        std::string_view rest = text.substr(pieceStart);
        while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
        if (!rest.empty()) {
            line += ',';
            line.append(rest);
        }
    }
    line += '\n';
    return line;
}

}  // namespace lorvex
