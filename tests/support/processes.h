#pragma once

// Real programs in real time, for the end-to-end tests: the lorvex binary with a time limit, and
// lorvex-sim serving on a pseudo-terminal (POSIX).

#include <filesystem>
#include <string>
#include <vector>

namespace lorvex::test {

struct ProcessResult {
    int exitCode = -1;  // the exit status, or -1 when it did not exit by itself (or was killed)
    std::string out;
    std::string err;
};

// Runs the program in `dir` with the arguments and waits at most `timeoutMs` (then kills it).
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& dir, int timeoutMs);

// The binaries under test.
inline const std::string kLorvexBinary = LORVEX_BINARY;
inline const std::string kSimBinary = LORVEX_SIM_BINARY;

// The lorvex binary with a time limit.
inline ProcessResult runLorvex(const std::vector<std::string>& args,
                               const std::filesystem::path& dir, int timeoutMs = 60000) {
    return runProcess(kLorvexBinary, args, dir, timeoutMs);
}

// lorvex-sim running in a directory; stopped (SIGTERM) when the object goes.
class SimProcess {
  public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts lorvex-sim (the binary this test was built with) in `dir` with the arguments and
    // waits until it says it serves. False with a message when it does not within 5 s.
    bool start(const std::filesystem::path& dir, const std::vector<std::string>& args,
               std::string& error);
    // "lorvex-sim: serving COM1 -> /dev/pts/N"
    const std::string& readyLine() const { return readyLine_; }
    // The pty device it serves on.
    std::string device() const;

    // SIGTERM and wait; the exit code, or -1 when it had to be killed after 5 s.
    int stop();
    // What it wrote on its standard error (read when it stops).
    const std::string& errorText() const { return err_; }

  private:
    int pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string readyLine_;
    std::string err_;
};

}  // namespace lorvex::test
