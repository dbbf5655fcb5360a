#include "sim/server/server.h"

#include <sys/select.h>
#include <unistd.h>

#include <csignal>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "sim/server/pty_link.h"
#include "sim/server/stop_signal.h"
#include "sim/server/tcp_link.h"
#include "sim/server/transcript_log.h"
#include "sim/simulated_register.h"
#include "sim/state_file.h"

namespace lorvex::sim {
namespace {

// The longest the loop sleeps with nothing due: the quiet-run flush of the log needs a turn.
constexpr std::uint64_t kLongestWaitUs = 250'000;

bool startMemory(const SimOptions& options, RegisterMemory& memory) {
    memory = options.empty ? emptyMemory() : demoMemory();
    if (options.pluCapacity > 0) memory.pluCapacity = options.pluCapacity;
    if (options.stateFile.empty()) return true;
    std::error_code ec;
    if (!std::filesystem::exists(options.stateFile, ec)) return true;
    std::string error;
    if (!loadState(options.stateFile, memory, error)) {
        std::fprintf(stderr, "lorvex-sim: %s\n", error.c_str());
        return false;
    }
    if (options.pluCapacity > 0) memory.pluCapacity = options.pluCapacity;
    return true;
}

void save(const SimOptions& options, const RegisterMemory& memory) {
    if (options.stateFile.empty()) return;
    std::string error;
    if (!saveState(options.stateFile, memory, error)) {
        std::fprintf(stderr, "lorvex-sim: %s\n", error.c_str());
    }
}

class Server {
  public:
    Server(const SimOptions& options, RegisterMemory memory)
        : options_(options), register_(std::move(memory)) {
        register_.faults() = options.faults;
        register_.setBaud(options.lineTime ? options.baud : 0);
        register_.keepTranscript(false);
        register_.engine().setHistoryLimit(0);
        register_.setListener(
            [this](Side side, std::uint64_t us, std::uint8_t byte) { log_.add(side, us, byte); });
        savedRevision_ = register_.model().revision();
    }

    int run() {
        if (!options_.logFile.empty() && !log_.open(options_.logFile)) {
            std::fprintf(stderr, "lorvex-sim: cannot write the log %s\n", options_.logFile.c_str());
            return 1;
        }
        std::string error;
        const bool opened =
            tcp() ? tcp_.open(options_.tcpPort, error) : link_.open(options_.linkName(), error);
        if (!opened) {
            std::fprintf(stderr, "lorvex-sim: %s\n", error.c_str());
            return 1;
        }
        // A client gone mid-write is a dropped connection, not a reason to stop.
        if (tcp()) std::signal(SIGPIPE, SIG_IGN);
        start_ = std::chrono::steady_clock::now();
#ifdef __linux__
        // Bytes are handed over when their line time is up: the wake-ups must come on time
        // (the default allows 50 us, a twentieth of a byte at 9600 baud).
        ::prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
#endif
        const std::string serving =
            tcp() ? tcp_.linkName() : link_.linkName() + " -> " + link_.slavePath();
        log_.note("lorvex-sim: serving " + serving);
        std::printf("lorvex-sim: serving %s\n", serving.c_str());
        std::fflush(stdout);

        while (!stop_.requested()) {
            if (!turn()) break;
        }
        log_.note("lorvex-sim: stopped");
        if (register_.model().revision() != savedRevision_) save(options_, register_.memory());
        link_.close();
        return 0;
    }

  private:
    bool tcp() const {
        return options_.tcpPort >= 0;
    }
    // Where the PC's bytes come from and the register's go: the pty, or the TCP client (-1
    // while none is connected).
    int lineFd() const {
        return tcp() ? tcp_.clientFd() : link_.masterFd();
    }

    // The client went: the register sees the line close, as when the last client of the pty
    // closes it.
    void closeLine() {
        register_.lineClosed();
        pending_.clear();
        log_.note("lorvex-sim: the client closed the line");
    }

    // Microseconds since the start: a byte at 19200 baud lasts 521 of them, so whole
    // milliseconds would hand bytes out late and take the PC's in early.
    std::uint64_t nowUs() const {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                              std::chrono::steady_clock::now() - start_)
                                              .count());
    }

    // One wait and what it brought. False when the pty failed for good.
    bool turn() {
        std::uint64_t now = nowUs();
        register_.advanceTo(now);
        if (pending_.empty()) {
            std::uint8_t buffer[512];
            const std::size_t count = register_.toPc(now, buffer, sizeof buffer);
            pending_.assign(reinterpret_cast<const char*>(buffer), count);
        }
        if (!writePending()) return false;
        log_.flushIfQuiet(now);
        if (register_.engine().idle() && register_.model().revision() != savedRevision_) {
            savedRevision_ = register_.model().revision();
            save(options_, register_.memory());
        }

        std::uint64_t waitUs = kLongestWaitUs;
        if (const auto next = register_.nextEventUs()) {
            waitUs = std::min(waitUs, *next > now ? *next - now : 0);
        }
        fd_set readable;
        fd_set writable;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        const int line = lineFd();
        int highest = std::max(line, tcp() ? tcp_.listenFd() : -1);
        if (line >= 0) FD_SET(line, &readable);
        if (tcp() && line < 0) FD_SET(tcp_.listenFd(), &readable);
        if (!tcp() && link_.watchFd() >= 0) {
            FD_SET(link_.watchFd(), &readable);
            highest = std::max(highest, link_.watchFd());
        }
        if (!pending_.empty() && line >= 0) {
            FD_SET(line, &writable);
            waitUs = kLongestWaitUs;
        }
        timespec timeout{static_cast<time_t>(waitUs / 1000000),
                         static_cast<long>((waitUs % 1000000) * 1000)};
        const int ready =
            ::pselect(highest + 1, &readable, &writable, nullptr, &timeout, stop_.waitMask());
        if (ready < 0) return errno == EINTR;
        if (ready == 0) return true;

        if (tcp() && line < 0 && FD_ISSET(tcp_.listenFd(), &readable)) tcp_.acceptClient();
        if (line >= 0 && FD_ISSET(line, &readable)) {
            std::uint8_t buffer[4096];
            const ssize_t count = ::read(line, buffer, sizeof buffer);
            if (count > 0) {
                register_.fromPc(buffer, static_cast<std::size_t>(count), nowUs());
            } else if (tcp() && (count == 0 || (errno != EAGAIN && errno != EINTR))) {
                tcp_.dropClient();
                closeLine();
            } else if (count < 0 && errno != EAGAIN && errno != EINTR) {
                // No slave open at all (we hold one, so this is brief): do not spin.
                clock_.sleepMs(20);
            }
        }
        if (!tcp() && link_.watchFd() >= 0 && FD_ISSET(link_.watchFd(), &readable) &&
            link_.lastClientClosed()) {
            closeLine();
        }
        return true;
    }

    bool writePending() {
        // With no client on the line the register talks to nobody.
        if (lineFd() < 0) pending_.clear();
        while (!pending_.empty()) {
            const ssize_t written = ::write(lineFd(), pending_.data(), pending_.size());
            if (written > 0) {
                pending_.erase(0, static_cast<std::size_t>(written));
            } else if (written < 0 && (errno == EAGAIN || errno == EINTR)) {
                return true;
            } else if (tcp()) {
                tcp_.dropClient();
                closeLine();
                return true;
            } else {
                std::fprintf(stderr, "lorvex-sim: the pseudo-terminal failed\n");
                return false;
            }
        }
        return true;
    }

    const SimOptions& options_;
    SimulatedRegister register_;
    SystemClock clock_;
    StopSignal stop_;
    PtyLink link_;
    TcpLink tcp_;
    TranscriptLog log_;
    std::chrono::steady_clock::time_point start_{};
    std::uint64_t savedRevision_ = 0;
    std::string pending_;
};

}  // namespace

int runServer(const SimOptions& options) {
    RegisterMemory memory;
    if (!startMemory(options, memory)) return 2;
    const bool fresh = !options.stateFile.empty() && !std::filesystem::exists(options.stateFile);
    if (fresh) save(options, memory);
    Server server(options, std::move(memory));
    return server.run();
}

}  // namespace lorvex::sim
