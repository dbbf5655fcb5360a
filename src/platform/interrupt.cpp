#include "platform/interrupt.h"

#include <csignal>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace lorvex {
namespace {

#ifdef _WIN32
using PathChar = wchar_t;
#else
using PathChar = char;
#endif

// What a signal handler may touch: a fixed buffer and a flag saying whether it holds a path. The
// handler only reads them; the main thread writes them with the flag cleared first. This is the
// program's one piece of process-wide mutable state, forced on it by the signal interface.
constexpr std::size_t kMostPath = 4096;
PathChar cleanupPath[kMostPath];
volatile std::sig_atomic_t cleanupArmed = 0;

#ifdef _WIN32
BOOL WINAPI onConsoleEvent(DWORD) {
    if (cleanupArmed) DeleteFileW(cleanupPath);
    return FALSE;  // the default handler ends the process
}
#else
void onSignal(int signalNumber) {
    if (cleanupArmed) ::unlink(cleanupPath);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}
#endif

}  // namespace

void installInterruptCleanup() {
#ifdef _WIN32
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // SIGABRT too: an abort (a failed check, an exception nobody caught) leaves no debris either.
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT}) {
        sigaction(signalNumber, &action, nullptr);
    }
    // A console nobody reads any more (the pipe closed) fails the writes instead of ending the job
    // half-way: the console stops writing and the exchange with the register runs to its end.
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

void setInterruptCleanupPath(const std::filesystem::path& path) {
    cleanupArmed = 0;
    const auto& native = path.native();
    if (native.empty() || native.size() >= kMostPath) return;
    std::memcpy(cleanupPath, native.c_str(), (native.size() + 1) * sizeof(PathChar));
    cleanupArmed = 1;
}

}  // namespace lorvex
