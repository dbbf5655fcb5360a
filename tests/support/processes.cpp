#include "support/processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace lorvex::test {

namespace {

using Clock = std::chrono::steady_clock;

// Everything the child has written so far into one of its output files.
std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// Starts the program in `dir` with its stdout and stderr in files of their own (in memory, read
// with readAll): a child that leaves a grandchild behind holds nothing open that the test waits
// for.
int spawn(const std::string& program, const std::vector<std::string>& args,
          const std::filesystem::path& dir, int& outFd, int& errFd) {
    // Everything the child needs is prepared before the fork.
    std::vector<std::string> strings{program};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    const std::string directory = dir.string();
    outFd = ::memfd_create("stdout", MFD_CLOEXEC);
    errFd = ::memfd_create("stderr", MFD_CLOEXEC);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outFd, STDOUT_FILENO);
        ::dup2(errFd, STDERR_FILENO);
        ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
        if (::chdir(directory.c_str()) != 0) ::_exit(126);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for the child until the deadline, then kills it: its exit code, or -1 when it did not
// exit by itself.
int reap(int pid, Clock::time_point deadline) {
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& dir, int timeoutMs) {
    int outFd = -1;
    int errFd = -1;
    const int pid = spawn(program, args, dir, outFd, errFd);
    ProcessResult result{reap(pid, Clock::now() + std::chrono::milliseconds(timeoutMs)),
                         readAll(outFd), readAll(errFd)};
    ::close(outFd);
    ::close(errFd);
    return result;
}

SimProcess::~SimProcess() {
    stop();
}

bool SimProcess::start(const std::filesystem::path& dir, const std::vector<std::string>& args,
                       std::string& error) {
    pid_ = spawn(kSimBinary, args, dir, outFd_, errFd_);
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    std::string out;
    while ((out = readAll(outFd_)).find('\n') == std::string::npos && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    readyLine_ = out.substr(0, out.find('\n'));
    if (out.find('\n') != std::string::npos && readyLine_.find("serving") != std::string::npos)
        return true;
    error = "lorvex-sim did not get ready: " + out + readAll(errFd_);
    stop();
    return false;
}

std::string SimProcess::device() const {
    const std::size_t arrow = readyLine_.find("-> ");
    return arrow == std::string::npos ? std::string() : readyLine_.substr(arrow + 3);
}

int SimProcess::stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    const int code = reap(pid_, Clock::now() + std::chrono::seconds(5));
    err_ = readAll(errFd_);
    ::close(outFd_);
    ::close(errFd_);
    pid_ = -1;
    return code;
}

}  // namespace lorvex::test
