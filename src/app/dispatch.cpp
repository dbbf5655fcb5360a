#include "app/dispatch.h"

#include <array>
#include <span>

#include "goods/jobs.h"
#include "records/jobs.h"
#include "reports/jobs.h"

namespace lorvex {

const JobEntry* findJob(char letter) {
    const std::array<std::span<const JobEntry>, 3> families = {recordJobs(), goodsJobs(),
                                                               reportJobs()};
    for (const auto& family : families) {
        for (const JobEntry& entry : family) {
            if (entry.letter == letter) return &entry;
        }
    }
    return nullptr;
}

}  // namespace lorvex
