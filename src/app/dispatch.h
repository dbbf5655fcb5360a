#pragma once

#include "core/run.h"

namespace lorvex {

// One row of the job table: the job of a command letter, in the run's direction, with its own
// loop rules, reporting and pauses.
struct JobEntry {
    char letter;
    void (*run)(Run& run);
    // True for the jobs that can work on a product table (H, M, N); the others need a text file.
    bool worksOnProductTable;
};

// The job-table row of a command letter; null for a letter that runs no job.
const JobEntry* findJob(char letter);

}  // namespace lorvex
