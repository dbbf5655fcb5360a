#pragma once

#include <string>
#include <string_view>

#include "sim/wire_fields.h"

namespace lorvex::sim {

// A request as the PC frames it: 'S', the wire letter, the mode in decimal, then two numbers of
// 18 characters each (zero-padded digits, or blanks and digits for code ranges).
struct Request {
    char letter = 0;
    int mode = 0;
    NumberField first;
    NumberField second;
    std::string text;

    bool isLoad() const { return mode == 1; }
};

// What the register does with a letter.
struct LetterRules {
    bool known = false;
    bool loadable = false;    // mode 1 stores a record
    bool zeroable = false;    // mode 2 reads and zeroes the counters
    bool multiBlock = false;  // the answer is one block per item, ETB between them
};

LetterRules rulesOf(char letter);

// Reads the request text into `out`. 0, or the status the register answers a bad request with.
int parseRequest(std::string_view text, Request& out);

}  // namespace lorvex::sim
