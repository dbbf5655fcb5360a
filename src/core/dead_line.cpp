#include "core/dead_line.h"

#include <string>

#include "text/format.h"

namespace lorvex {

std::string countOf(int count, std::string_view plural) {
    if (count == 1 && plural.ends_with('s')) plural.remove_suffix(1);
    return format("%d ", count) + std::string(plural);
}

DeadLineGuard::~DeadLineGuard() {
    if (!dead()) reportHeld();
}

void DeadLineGuard::reportHeld() {
    for (; held_ > 0; --held_) run_.report(kNoAnswer);
}

void DeadLineGuard::count(StatusCode status) {
    if (status != kNoAnswer) {
        silences_ = 0;
        reported_ = false;
        return;
    }
    ++silences_;
    // Nothing more goes to the register; a load still reads on to count what it leaves.
    if (dead()) run_.lineDead = true;
}

bool DeadLineGuard::note(StatusCode status, int left) {
    count(status);
    if (dead()) giveUp(left);
    return !dead();
}

bool DeadLineGuard::report(StatusCode status, bool asked) {
    if (status == kNoAnswer && asked) {
        count(status);
        if (silences_ == 1) {
            run_.report(status);
            reported_ = true;
        } else if (!dead()) {
            ++held_;
        }
        return !dead();
    }
    reportHeld();
    if (asked) count(status);
    run_.report(status);
    return true;
}

bool DeadLineGuard::reportUntilFailure(StatusCode status, int left) {
    report(status);
    if (status == kNoAnswer) giveUp(left);
    return status == 0;
}

void DeadLineGuard::giveUp(int notTried) {
    held_ = 0;
    if (!reported_) run_.report(kNoAnswer);
    reported_ = true;
    run_.counts.notTried += notTried;
    std::string line = "lorvex: the register did not answer";
    if (silences_ > 1) line += format(" %d times in a row", silences_);
    run_.console.error(line + "; " + countOf(notTried, items_) + " not tried");
}

}  // namespace lorvex
