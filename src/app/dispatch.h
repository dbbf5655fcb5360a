#pragma once

#include "core/job.h"

namespace lorvex {

// The dispatch-table row of a command letter; null for a letter that runs no job.
const JobEntry* findJob(char letter);

}  // namespace lorvex
