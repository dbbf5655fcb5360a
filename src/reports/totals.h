#pragma once

#include "core/run.h"

namespace lorvex {

// The one-answer reports. Each sends one request carrying `mode` (0 reads, 2 reads and zeroes
// the counters; any other mode sends nothing and gives 0), writes one line to the exchange file
// and returns 0, -1 when the register did not answer, or the code of its error answer. Nothing is
// written for a failed item.

StatusCode readRegisterReport(Run& run, int mode);
StatusCode readDepartmentReport(Run& run, int mode, int department);
StatusCode readHourlyReport(Run& run, int mode, int hour);
// A cashier the register does not list gives 0 and no line.
StatusCode readCashierReport(Run& run, int mode, int cashier);
StatusCode readDailyReport(Run& run, int mode);
StatusCode readCashReport(Run& run, int mode);
StatusCode readCardReport(Run& run, int mode);

// The register's state digit. Writes nothing; `status` tells whether the register answered.
struct StateAnswer {
    StatusCode status = 0;
    int digit = 0;
};
StateAnswer readStateDigit(Run& run);

}  // namespace lorvex
