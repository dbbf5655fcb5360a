#pragma once

// What the end-to-end tests share: lorvex started from a shell script.

#include <gtest/gtest.h>

#include <string>

#include "support/sim_session.h"

namespace lorvex::test {

// Runs the script with /bin/sh in `dir`; $L is the lorvex binary.
inline ProcessResult shell(const std::filesystem::path& dir, const std::string& script,
                           int timeoutMs = 60000) {
    return runProcess("/bin/sh", {"-c", "L='" + lorvexBinary() + "'; " + script}, dir, timeoutMs);
}

}  // namespace lorvex::test
