#pragma once

#include <string_view>

#include "core/run.h"

namespace lorvex {

// The PLU sales report: up to three code ranges (one with the EAN check skipped), each one
// transaction of one block per goods item. Items sold are written as "PLP" lines or, with a
// product table, appended to it. Returns 0; -1 when the register did not answer; 99 when the link
// was lost in the middle; the register's code of an error answer (later ranges are not asked for).
// Lines and records already written stay.
StatusCode readPluSalesReport(Run& run, int mode);

// The packaging report: one transaction, one block per packaging item, written as "PLB" lines or
// appended to the product table with the net figures. `rangeEnd` ("9999" or "99999") and
// `largePluNumbers` (0 or 1) bound the request when the EAN check is skipped. Returns as above.
StatusCode readPackagingReport(Run& run, int mode, std::string_view rangeEnd, int largePluNumbers);

}  // namespace lorvex
