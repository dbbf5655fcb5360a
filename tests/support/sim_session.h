#pragma once

// One end-to-end session: a temporary directory with lorvex-sim serving COM1 in it, the real
// lorvex run there with a time limit, the files read back, the simulator stopped.
//
//     SimSession session;                        // demo register on COM1
//     ASSERT_TRUE(session.ok()) << session.error();
//     ProcessResult run = session.lorvex({"/CG", "/FDEPS.TXT"});
//     EXPECT_EQ(run.exitCode, 0);
//     EXPECT_EQ(session.files().at("DEPS.TXT").size(), ...);
//     EXPECT_EQ(session.stop(), 0);

#include <string>
#include <vector>

#include "support/processes.h"
#include "support/temp_dir.h"

namespace lorvex::test {

class SimSession {
  public:
    // Starts lorvex-sim with these options (for example {"--empty"} or faults) in a fresh
    // directory.
    explicit SimSession(const std::vector<std::string>& simArgs = {}) {
        ok_ = sim_.start(dir_.path(), simArgs, error_);
    }

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    const TempDir& dir() const { return dir_; }
    SimProcess& sim() { return sim_; }

    // Runs the lorvex binary in the session's directory.
    ProcessResult lorvex(const std::vector<std::string>& args, int timeoutMs = 60000) const {
        return runLorvex(args, dir_.path(), timeoutMs);
    }
    // The files of the directory (the simulator's link is not a regular file).
    Files files() const { return dir_.read(); }
    // SIGTERM; the simulator's exit code (0 after a clean stop, -1 when it had to be killed).
    int stop() { return sim_.stop(); }

  private:
    TempDir dir_{"lorvex-e2e"};
    SimProcess sim_;
    std::string error_;
    bool ok_ = false;
};

}  // namespace lorvex::test
