#include "app/dispatch.h"

#include <array>
#include <span>

#include "app/all_settings_job.h"
#include "goods/jobs.h"
#include "records/jobs.h"
#include "reports/jobs.h"

namespace lorvex {

namespace {

// 'Z' reads or loads every settings family, so it lives above them all.
constexpr JobEntry kAllSettings{'Z', allSettingsJob, false};

}  // namespace

const JobEntry* findJob(char letter) {
    if (letter == kAllSettings.letter) return &kAllSettings;
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
