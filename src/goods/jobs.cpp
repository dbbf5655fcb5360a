#include "goods/jobs.h"

#include "goods/departments.h"
#include "goods/plu_dump.h"
#include "goods/plu_load.h"

namespace lorvex {
namespace {

void runPluGoodsJob(Run& run) {
    if (run.dumping()) {
        run.report(dumpPluGoods(run));
    } else if (run.table != nullptr) {
        loadPluFromTable(run);
    } else {
        loadPluFromText(run);
    }
}

constexpr JobEntry kGoodsJobs[] = {
    {'G', runDepartmentJob, false},
    {'H', runPluGoodsJob, true},
};

}  // namespace

std::span<const JobEntry> goodsJobs() {
    return kGoodsJobs;
}

}  // namespace lorvex
