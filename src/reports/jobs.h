#pragma once

#include "core/run.h"

namespace lorvex {

// The report jobs. Reports are read only on a dump; on a load they send and write nothing. The
// register state query (X) runs in either direction.
void registerReportJob(Run& run);    // K
void departmentReportJob(Run& run);  // L
void pluSalesReportJob(Run& run);    // M
void packagingReportJob(Run& run);   // N
void hourlyReportJob(Run& run);      // O
void cashierReportJob(Run& run);     // P
void dailyReportJob(Run& run);       // R
void cashReportJob(Run& run);        // S
void cardReportJob(Run& run);        // T
void stateDigitJob(Run& run);        // X

}  // namespace lorvex
