#include "support/job_harness.h"

#include "app/program.h"
#include "platform/console.h"

namespace lorvex::test {

std::string JobResult::file(const std::string& name) const {
    const auto found = files.find(name);
    return found == files.end() ? std::string() : found->second;
}

JobHarness::JobHarness(sim::RegisterMemory memory)
    : register_(std::make_unique<sim::SimulatedRegister>(std::move(memory))) {}

JobResult JobHarness::run(const std::vector<std::string>& args) {
    TempDir work("lorvex-job");
    work.write(files);
    register_->transcript().clear();
    register_->engine().clearExchanges();

    JobResult result;
    CapturingConsole console;
    const std::uint64_t start = clock_.nowMs();
    Environment env{
        console, clock_,
        [&](const Settings& settings, PortFailure& failure) -> std::unique_ptr<SerialPort> {
            result.portSettings = settings;
            if (portFails) {
                failure = {"COM1", "no such device", ""};
                return nullptr;
            }
            if (port) return port(clock_);
            return std::make_unique<sim::SimulatedPort>(*register_, clock_);
        },
        work.path()};
    result.exitCode = runProgram(args, env);
    result.virtualMs = clock_.nowMs() - start;
    result.console = console.text();
    result.errors = console.errors();
    result.files = work.read();
    result.transcript = register_->transcript();
    result.exchanges = register_->exchanges();
    return result;
}

JobResult runJob(const std::vector<std::string>& args, const Files& files,
                 sim::RegisterMemory memory) {
    JobHarness harness(std::move(memory));
    harness.files = files;
    return harness.run(args);
}

}  // namespace lorvex::test
