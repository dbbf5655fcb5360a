#include "support/processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace lorvex::test {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Starts the program with stdout and stderr on pipes; -1 when it cannot.
int spawn(const std::string& program, const std::vector<std::string>& args,
          const std::filesystem::path& dir, int& outFd, int& errFd) {
    int out[2];
    int err[2];
    if (::pipe(out) != 0) return -1;
    if (::pipe(err) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return -1;
    }
    // Everything the child needs is prepared before the fork.
    std::vector<std::string> strings;
    strings.push_back(program);
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    const std::string directory = dir.string();

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::close(out[0]);
        ::close(err[0]);
        ::close(out[1]);
        ::close(err[1]);
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0) ::dup2(null, STDIN_FILENO);
        if (::chdir(directory.c_str()) != 0) ::_exit(126);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    if (pid < 0) {
        ::close(out[0]);
        ::close(err[0]);
        return -1;
    }
    outFd = out[0];
    errFd = err[0];
    return pid;
}

// Reads what is waiting on the descriptor; false at its end.
bool drain(int fd, std::string& into) {
    char buffer[4096];
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count > 0) {
        into.append(buffer, static_cast<std::size_t>(count));
        return true;
    }
    return count < 0 && (errno == EINTR || errno == EAGAIN);
}

int exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return -1;
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
    bool outOpen = true;
    bool errOpen = true;
    while ((outOpen || errOpen) && millisecondsLeft(deadline) > 0) {
        pollfd fds[2] = {{outOpen ? outFd : -1, POLLIN, 0}, {errOpen ? errFd : -1, POLLIN, 0}};
        if (::poll(fds, 2, millisecondsLeft(deadline)) <= 0) continue;
        if (outOpen && (fds[0].revents & (POLLIN | POLLHUP)) != 0)
            outOpen = drain(outFd, result.out);
        if (errOpen && (fds[1].revents & (POLLIN | POLLHUP)) != 0)
            errOpen = drain(errFd, result.err);
    }
    int status = 0;
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    while (done == 0 && millisecondsLeft(deadline) > 0) {
        ::usleep(10000);
        done = ::waitpid(pid, &status, WNOHANG);
    }
    if (done == 0) {
        result.timedOut = true;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    } else {
        result.exitCode = exitCodeOf(status);
    }
    ::close(outFd);
    ::close(errFd);
    return result;
}

SimProcess::~SimProcess() {
    stop();
}

bool SimProcess::start(const std::string& program, const std::filesystem::path& dir,
                       const std::vector<std::string>& args, std::string& error,
                       int readyTimeoutMs) {
    if (program.empty()) {
        error = "lorvex-sim is not built";
        return false;
    }
    pid_ = spawn(program, args, dir, outFd_, errFd_);
    if (pid_ < 0) {
        error = "cannot start " + program;
        return false;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(readyTimeoutMs);
    std::string out;
    while (millisecondsLeft(deadline) > 0) {
        pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
        if (::poll(fds, 2, millisecondsLeft(deadline)) <= 0) continue;
        if ((fds[1].revents & (POLLIN | POLLHUP)) != 0) drain(errFd_, err_);
        if ((fds[0].revents & (POLLIN | POLLHUP)) != 0 && !drain(outFd_, out)) break;
        const std::size_t end = out.find('\n');
        if (end != std::string::npos) {
            readyLine_ = out.substr(0, end);
            if (readyLine_.find("serving") != std::string::npos) return true;
            break;
        }
    }
    error = "lorvex-sim did not get ready: " + out + err_;
    stop(1000);
    return false;
}

std::string SimProcess::device() const {
    const std::size_t arrow = readyLine_.find("-> ");
    return arrow == std::string::npos ? std::string() : readyLine_.substr(arrow + 3);
}

int SimProcess::stop(int timeoutMs) {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    pid_t done = ::waitpid(pid_, &status, WNOHANG);
    while (done == 0 && millisecondsLeft(deadline) > 0) {
        pollfd fd{errFd_, POLLIN, 0};
        if (::poll(&fd, 1, 10) > 0) drain(errFd_, err_);
        done = ::waitpid(pid_, &status, WNOHANG);
    }
    int code = -1;
    if (done == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
    } else {
        code = exitCodeOf(status);
    }
    while (drain(errFd_, err_)) {
    }
    ::close(outFd_);
    ::close(errFd_);
    pid_ = -1;
    outFd_ = -1;
    errFd_ = -1;
    return code;
}

}  // namespace lorvex::test
