#include "support/processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace lorvex::test {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Starts the program in `dir` with stdout and stderr on pipes; -1 when it cannot.
int spawn(const std::string& program, const std::vector<std::string>& args,
          const std::filesystem::path& dir, int& outFd, int& errFd) {
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return -1;  // a test process has descriptors
    // Everything the child needs is prepared before the fork.
    std::vector<std::string> strings{program};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    const std::string directory = dir.string();

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        for (const int fd : {out[0], out[1], err[0], err[1]}) ::close(fd);
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0) ::dup2(null, STDIN_FILENO);
        if (::chdir(directory.c_str()) != 0) ::_exit(126);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    outFd = out[0];
    errFd = err[0];
    if (pid < 0) {
        ::close(outFd);
        ::close(errFd);
    }
    return pid;
}

// Appends what waits on the open descriptors (-1: closed) within `ms`; a descriptor at its end
// is closed and set to -1.
void pump(int& outFd, std::string& out, int& errFd, std::string& err, int ms) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    if (::poll(fds, 2, ms) <= 0) return;
    std::string* into[2] = {&out, &err};
    int* fd[2] = {&outFd, &errFd};
    for (int i = 0; i < 2; ++i) {
        if ((fds[i].revents & (POLLIN | POLLHUP)) == 0) continue;
        char buffer[4096];
        const ssize_t count = ::read(*fd[i], buffer, sizeof buffer);
        if (count > 0) {
            into[i]->append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
            ::close(*fd[i]);
            *fd[i] = -1;
        }
    }
}

// Reads both pipes until they close or the deadline passes, then reaps the child, killed when
// it is still running at the deadline; its exit code, or -1 when it did not exit by itself.
int drainAndReap(int pid, int& outFd, std::string& out, int& errFd, std::string& err,
                 Clock::time_point deadline) {
    while ((outFd >= 0 || errFd >= 0) && millisecondsLeft(deadline) > 0)
        pump(outFd, out, errFd, err, millisecondsLeft(deadline));
    for (int* fd : {&outFd, &errFd}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    int status = 0;
    if (::waitpid(pid, &status, millisecondsLeft(deadline) > 0 ? 0 : WNOHANG) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& dir, int timeoutMs) {
    ProcessResult result;
    int outFd = -1;
    int errFd = -1;
    const int pid = spawn(program, args, dir, outFd, errFd);
    if (pid < 0) {
        result.err = "cannot start " + program;
        return result;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    result.exitCode = drainAndReap(pid, outFd, result.out, errFd, result.err, deadline);
    result.timedOut = millisecondsLeft(deadline) == 0 && result.exitCode < 0;
    return result;
}

SimProcess::~SimProcess() {
    stop();
}

bool SimProcess::start(const std::filesystem::path& dir, const std::vector<std::string>& args,
                       std::string& error) {
    pid_ = spawn(simBinary(), args, dir, outFd_, errFd_);
    if (pid_ < 0) {
        error = "cannot start lorvex-sim";
        return false;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    std::string out;
    while (outFd_ >= 0 && out.find('\n') == std::string::npos && millisecondsLeft(deadline) > 0)
        pump(outFd_, out, errFd_, err_, millisecondsLeft(deadline));
    readyLine_ = out.substr(0, out.find('\n'));
    if (out.find('\n') != std::string::npos && readyLine_.find("serving") != std::string::npos)
        return true;
    error = "lorvex-sim did not get ready: " + out + err_;
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
    std::string out;
    const int code =
        drainAndReap(pid_, outFd_, out, errFd_, err_, Clock::now() + std::chrono::seconds(5));
    pid_ = -1;
    return code;
}

}  // namespace lorvex::test
