#pragma once

#include <span>

#include "core/job.h"

namespace lorvex {

// The dispatch-table rows of the goods jobs.
std::span<const JobEntry> goodsJobs();

}  // namespace lorvex
