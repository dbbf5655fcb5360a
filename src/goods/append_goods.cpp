#include "core/run.h"
#include "goods/product_table.h"
#include "text/charset.h"
#include "text/format.h"

namespace lorvex {

bool appendGoodsRecord(Run& run, const ProductReportRecord& record) {
    // The name and code as the table keeps them: cut to their width and at a NUL.
    run.trace(1,
              format("%f,%.*s,%.*s,%d\n", record.quantity, ProductReportRecord::kCodeKept,
                     record.codeText.c_str(), ProductReportRecord::kNameKept, record.name.c_str(),
                     record.department),
              consoleEncoding(run.settings.charsetMode));
    if (!run.table->writeProductRecord(record)) return false;
    ++run.counts.linesWritten;
    return true;
}

}  // namespace lorvex
