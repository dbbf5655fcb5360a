#pragma once

// The tests' one temporary directory lives in tests/support; this name stays for the core and
// goods tests until they include it from there.
#include "support/temp_dir.h"

namespace lorvex::coretest {
using test::readText;
using test::TempDir;
using test::writeText;
}  // namespace lorvex::coretest
