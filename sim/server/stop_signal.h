#pragma once

#include <signal.h>

namespace lorvex::sim {

// SIGINT and SIGTERM end the simulator. They stay blocked except while the server waits in
// pselect, so a signal can never slip in between the check and the wait. SIGHUP (the pty's
// hang-up when a client goes) and SIGPIPE are ignored.
class StopSignal {
  public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    // The signal mask to wait with: the process's own, with SIGINT and SIGTERM let through.
    const sigset_t* waitMask() const { return &waitMask_; }
    bool requested() const;

  private:
    sigset_t savedMask_;
    sigset_t waitMask_;
    struct sigaction savedInt_;
    struct sigaction savedTerm_;
};

}  // namespace lorvex::sim
