#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/run.h"

namespace lorvex {

// What a received block holds: a data answer ('D'), an error answer ('E', its status as two
// hexadecimal digits at positions 3 and 4), any other text, or nothing because the call ended
// without a frame.
enum class AnswerKind { Data, Error, Other, None };

AnswerKind answerKind(std::string_view answer);
StatusCode errorAnswerStatus(std::string_view answer);

// The blocks of one dump transaction. The first receive() sends the request; each later one
// starts from an empty buffer, so a call that ends on the register's EOT without a new frame is
// never taken for the last block again.
class AnswerReader {
  public:
    AnswerReader(Run& run, std::string request) : run_(run), request_(std::move(request)) {}

    // Receives the next block: 0, or the link's failure (-1 or 99).
    StatusCode receive();
    // The block's text without the ETX or ETB that closed it. When no frame came it is what the
    // buffer held: the request after the first call, empty after later ones.
    std::string_view text() const;
    AnswerKind kind() const;
    // The register announced a further block, and the run has not yet taken the most blocks a
    // transaction may have.
    bool more() const { return blockCounter_ > 0 && !cutShort(); }
    // The register kept sending blocks past any table it holds.
    bool cutShort() const { return blocks_ >= kMostBlocks && blockCounter_ > 0; }

  private:
    static constexpr int kMostBlocks = 100000;

    Run& run_;
    std::string request_;
    std::string buffer_;
    int blockCounter_ = 0;
    int blocks_ = 0;
    bool gotFrame_ = false;
};

// The outcome of a transaction with a single answer.
struct Answer {
    // kNoAnswer when the link failed or the transaction ended without an answer frame; the code
    // of an error answer (which may read as 0); else 0.
    StatusCode status = 0;
    AnswerKind kind = AnswerKind::None;
    std::string text;

    // A data or other answer: text the caller can use.
    bool hasText() const { return kind == AnswerKind::Data || kind == AnswerKind::Other; }
};

Answer askRegister(Run& run, const std::string& request);

// Makes the exchange-file line of a data answer; nothing when the answer cannot be decoded (too
// short for its layout, or characters its fields cannot hold).
using DecodeAnswer = std::function<std::optional<std::string>(std::string_view)>;

// One dump transaction with a single answer, traced at level 1. A data answer is written as the
// line `decode` makes of it (kUnreadableAnswer and nothing written when it makes none); any other
// answer writes nothing and gives 0.
StatusCode dumpAnswer(Run& run, const std::string& request, const DecodeAnswer& decode);

// A table the register sends one record per block (discount cards, linked codes). Each data
// answer is written as its line; an error answer ends the dump with its status; a lost link ends
// it with 99 and the lines already written stay.
StatusCode dumpBlocks(Run& run, const std::string& request, const DecodeAnswer& decode);

// Shows a text received from the register at trace level 1.
void traceAnswer(Run& run, std::string_view answer);

}  // namespace lorvex
