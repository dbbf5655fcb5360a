#include "goods/jobs.h"

#include "goods/plu_dump.h"
#include "goods/plu_load.h"

namespace lorvex {

void pluGoodsJob(Run& run) {
    if (run.dumping()) {
        run.report(dumpPluGoods(run));
    } else if (run.table != nullptr) {
        loadPluFromTable(run);
    } else {
        loadPluFromText(run);
    }
}

}  // namespace lorvex
