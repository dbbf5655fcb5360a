#pragma once

#include <string>

namespace lorvex::sim {

// The pseudo-terminal the simulated register sits on, and the link (COM1 or a path) to its slave
// side where the PC program opens it.
//
// The simulator keeps the slave open itself, so the master never sees a hang-up between two
// client runs, and takes it as its controlling terminal (when it can start a session), so that
// no client acquires it. On Linux it watches the slave's opens and closes: when the last client
// closes, it clears the exclusive mode a client may have set (a client that set it and went would
// otherwise lock out the next one) and discards register bytes no client read.
class PtyLink {
  public:
    PtyLink() = default;
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    // Creates the pty and the link. False with a message when it cannot; nothing is left behind.
    bool open(const std::string& linkName, std::string& error);
    // Removes the link (when it is still ours) and closes the pty.
    void close();

    int masterFd() const { return master_; }
    // -1 when client opens and closes cannot be watched on this system.
    int watchFd() const { return watch_; }
    const std::string& slavePath() const { return slavePath_; }
    const std::string& linkName() const { return linkName_; }

    // Reads the watch events; true when the last client has just closed the slave.
    bool lastClientClosed();

  private:
    bool makeLink(std::string& error);

    int master_ = -1;
    int slave_ = -1;
    int watch_ = -1;
    int clients_ = 0;
    std::string slavePath_;
    std::string linkName_;
    bool linkMade_ = false;
};

}  // namespace lorvex::sim
