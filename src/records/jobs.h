#pragma once

#include "core/run.h"

namespace lorvex {

// The settings jobs, each in the run's direction: on a dump the register's table goes to the
// exchange file, on a load every line of the job's prefix goes to the register.
void flagsJob(Run& run);         // A
void headerJob(Run& run);        // B
void footerJob(Run& run);        // C
void cashierJob(Run& run);       // D
void haloJob(Run& run);          // E
void discountsJob(Run& run);     // F
void directCodeJob(Run& run);    // I
void vatRatesJob(Run& run);      // J
void solvekFlagsJob(Run& run);   // U
void discountCardJob(Run& run);  // W
void linkedCodeJob(Run& run);    // Y

}  // namespace lorvex
