#include "goods/jobs.h"

namespace lorvex {

// Filled as the operations of this family land.
std::span<const JobEntry> goodsJobs() { return {}; }

}  // namespace lorvex
