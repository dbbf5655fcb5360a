#pragma once

// Runs whole lorvex jobs in-process against the simulated register: the real run flow
// (runProgram) with a capturing console, a virtual clock and a SimulatedPort, in a fresh work
// directory. A job that waits 5 seconds costs nothing.
//
//     JobHarness harness;                       // the demo shop's register
//     harness.faults().errorAt('H', 10, 26);
//     JobResult run = harness.run({"/CG", "/FDEPS.TXT"});
//     EXPECT_EQ(run.exitCode, 0);
//     EXPECT_EQ(run.file("error.orv"), "...");

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "platform/clock.h"
#include "sim/simulated_port.h"
#include "sim/simulated_register.h"
#include "support/temp_dir.h"

namespace lorvex::test {

struct JobResult {
    int exitCode = -1;
    Files files;                           // every file of the work directory after the run
    std::string console;                   // what the run showed, as UTF-8
    std::string errors;                    // the lines the run gave for stderr
    sim::Transcript transcript;            // the line in both directions
    std::vector<sim::Exchange> exchanges;  // the transactions as the register saw them
    std::uint64_t virtualMs = 0;           // time the run took on the virtual clock
    std::optional<Settings> portSettings;  // what the port was opened with (none: not opened)

    bool has(const std::string& name) const { return files.count(name) > 0; }
    // The bytes of a file of the work directory, empty when there is none.
    std::string file(const std::string& name) const;
    std::string errorLog() const { return file("error.orv"); }
    // The texts of the frames the PC sent: requests and records, in order.
    std::vector<std::string> pcFrames() const { return transcript.framesFrom(sim::Side::Pc); }
};

class JobHarness {
  public:
    explicit JobHarness(sim::RegisterMemory memory = sim::demoMemory());

    // The register survives from run to run (a load, then a dump, sees what was loaded).
    sim::RegisterMemory& memory() { return register_->memory(); }
    sim::FaultPlan& faults() { return register_->faults(); }
    JobHarness& file(const std::string& name, const std::string& bytes) {
        files[name] = bytes;
        return *this;
    }

    // One run of the program with these arguments (the ones after the program name).
    JobResult run(const std::vector<std::string>& args);

    Files files;             // placed in the work directory before each run
    bool portFails = false;  // the port cannot be opened (openPort gives null)
    // A port of the test's own in place of the simulated register's.
    std::function<std::unique_ptr<SerialPort>(VirtualClock&)> port;

  private:
    std::unique_ptr<sim::SimulatedRegister> register_;
    VirtualClock clock_;
};

// One run against a register of its own.
JobResult runJob(const std::vector<std::string>& args, const Files& files = {},
                 sim::RegisterMemory memory = sim::demoMemory());

}  // namespace lorvex::test
