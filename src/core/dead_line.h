#pragma once

#include <string>
#include <string_view>

#include "core/run.h"

namespace lorvex {

// What a load record gets in place of an answer once the line is taken for dead: it was not sent.
inline constexpr StatusCode kNotTried = -2;

// "39 departments", "1 department": a count of things named in the plural.
std::string countOf(int count, std::string_view plural);

// A register that answers nothing at all (kNoAnswer) to three items in a row is taken for gone:
// the job ends instead of waiting 5 s for every item left. A silence followed by answers changes
// nothing. Every job that loops over items keeps one of these.
class DeadLineGuard {
  public:
    static constexpr int kSilencesInARow = 3;

    // `items` names what the job loops over, in the plural: "departments", "lines".
    DeadLineGuard(Run& run, std::string_view items) : run_(run), items_(items) {}
    // Silences still held back are reported.
    ~DeadLineGuard();
    DeadLineGuard(const DeadLineGuard&) = delete;
    DeadLineGuard& operator=(const DeadLineGuard&) = delete;

    // Takes the status of an item the register was asked about (or, with `asked` false, of one
    // that was never sent) and reports it. Of silences in a row only the first is reported at
    // once; the others wait for an answer that shows the line alive, so a dead line leaves one
    // message 60. False once the line is dead.
    bool report(StatusCode status, bool asked = true);
    // Takes an item's status without reporting it, for a job that reports only its last one and
    // knows how many items are `left` after it. False once the line is dead: the job has ended.
    bool note(StatusCode status, int left);
    // For a job that stops at the first item that fails: reports the status, and a silence ends
    // the job as a dead line does. False when the job stops.
    bool reportUntilFailure(StatusCode status, int left);
    bool dead() const { return silences_ >= kSilencesInARow; }
    // Ends the job because the register did not answer: message 60 once in the error log, and
    // `notTried` items left counted in the run and named on stderr.
    void giveUp(int notTried);
    // Reports the silences held back (the destructor does it too, unless the line is dead).
    void reportHeld();

  private:
    void count(StatusCode status);

    Run& run_;
    std::string_view items_;
    int silences_ = 0;       // no-answers in a row
    int held_ = 0;           // of them, not yet reported
    bool reported_ = false;  // the first of them is in the error log
};

}  // namespace lorvex
