#include "app/dispatch.h"

#include <array>

#include "app/all_settings_job.h"
#include "goods/departments.h"
#include "goods/jobs.h"
#include "records/jobs.h"
#include "reports/jobs.h"

namespace lorvex {
namespace {

constexpr std::array<JobEntry, 24> kJobs = {{
    {'A', flagsJob, false},          {'B', headerJob, false},
    {'C', footerJob, false},         {'D', cashierJob, false},
    {'E', haloJob, false},           {'F', discountsJob, false},
    {'G', runDepartmentJob, false},  {'H', pluGoodsJob, true},
    {'I', directCodeJob, false},     {'J', vatRatesJob, false},
    {'K', registerReportJob, false}, {'L', departmentReportJob, false},
    {'M', pluSalesReportJob, true},  {'N', packagingReportJob, true},
    {'O', hourlyReportJob, false},   {'P', cashierReportJob, false},
    {'R', dailyReportJob, false},    {'S', cashReportJob, false},
    {'T', cardReportJob, false},     {'U', solvekFlagsJob, false},
    {'W', discountCardJob, false},   {'X', stateDigitJob, false},
    {'Y', linkedCodeJob, false},     {'Z', allSettingsJob, false},
}};

}  // namespace

const JobEntry* findJob(char letter) {
    for (const JobEntry& entry : kJobs) {
        if (entry.letter == letter) return &entry;
    }
    return nullptr;
}

}  // namespace lorvex
