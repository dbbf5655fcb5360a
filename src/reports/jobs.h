#pragma once

#include <span>

#include "core/job.h"

namespace lorvex {

// The dispatch-table rows of the reports jobs.
std::span<const JobEntry> reportJobs();

}  // namespace lorvex
