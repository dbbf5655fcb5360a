#pragma once

#include "core/run.h"
#include "records/fiscal_id_format.h"

namespace lorvex {

// The register's fiscal settings, read only: each asks the register once and writes its line
// ("VAT", "UNI,", "NIP,"). 0, kNoAnswer, or the status of an error answer (nothing written).
StatusCode readVatRates(Run& run, VatRates& rates);
StatusCode readUniNumber(Run& run);
StatusCode readNipNumber(Run& run);

}  // namespace lorvex
