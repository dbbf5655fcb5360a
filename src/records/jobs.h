#pragma once

#include <span>

#include "core/job.h"

namespace lorvex {

// The dispatch-table rows of the records jobs.
std::span<const JobEntry> recordJobs();

}  // namespace lorvex
