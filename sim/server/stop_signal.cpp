#include "sim/server/stop_signal.h"

#include <csignal>

namespace lorvex::sim {
namespace {

// Set by the signal handler, read by the server loop: the one global of the simulator.
volatile std::sig_atomic_t stopRequested = 0;

extern "C" void onStopSignal(int) {
    stopRequested = 1;
}

}  // namespace

StopSignal::StopSignal() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGHUP, &ignore, nullptr);
    sigaction(SIGPIPE, &ignore, nullptr);

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, &savedMask_);
    waitMask_ = savedMask_;
    sigdelset(&waitMask_, SIGINT);
    sigdelset(&waitMask_, SIGTERM);

    struct sigaction handler {};
    handler.sa_handler = onStopSignal;
    sigemptyset(&handler.sa_mask);
    sigaction(SIGINT, &handler, &savedInt_);
    sigaction(SIGTERM, &handler, &savedTerm_);
}

StopSignal::~StopSignal() {
    sigaction(SIGINT, &savedInt_, nullptr);
    sigaction(SIGTERM, &savedTerm_, nullptr);
    sigprocmask(SIG_SETMASK, &savedMask_, nullptr);
}

bool StopSignal::requested() const {
    return stopRequested != 0;
}

}  // namespace lorvex::sim
