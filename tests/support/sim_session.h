#pragma once

// What the end-to-end tests share. One session: a temporary directory with lorvex-sim serving COM1
// in it, the real lorvex run there with a time limit, the files read back, the simulator stopped.
//
//     SimSession session;                        // demo register on COM1
//     ASSERT_TRUE(session.ok) << session.error;
//     ProcessResult run = session.lorvex({"/CG", "/FDEPS.TXT"});
//     EXPECT_EQ(run.exitCode, 0);
//     EXPECT_EQ(session.files().at("DEPS.TXT").size(), ...);
//     EXPECT_EQ(session.sim.stop(), 0);

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {

struct SimSession {
    // Starts lorvex-sim with these options (for example {"--empty"} or faults) in a fresh
    // directory.
    explicit SimSession(const std::vector<std::string>& simArgs = {}) {
        ok = sim.start(dir.path(), simArgs, error);
    }
    // Runs the lorvex binary in the session's directory.
    ProcessResult lorvex(const std::vector<std::string>& args, int timeoutMs = 60000) const {
        return runLorvex(args, dir.path(), timeoutMs);
    }
    // The files of the directory (the simulator's link is not a regular file).
    Files files() const { return dir.read(); }

    TempDir dir{"lorvex-e2e"};
    SimProcess sim;  // stop(): SIGTERM; 0 after a clean stop, -1 when it had to be killed
    std::string error;
    bool ok = false;
};

// Runs the script with /bin/sh in `dir`; $L is the lorvex binary.
inline ProcessResult shell(const std::filesystem::path& dir, const std::string& script,
                           int timeoutMs = 60000) {
    return runProcess("/bin/sh", {"-c", "L='" + kLorvexBinary + "'; " + script}, dir, timeoutMs);
}

}  // namespace lorvex::test
