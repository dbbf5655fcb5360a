#pragma once

#include <string>
#include <thread>
#include <vector>

namespace lorvex::test {

// Plays the register on the master side of a pty, in a thread of its own: each event the PC
// completes takes the next reply of the script. Stops after `events` events, or after two
// seconds without a byte.
class PtyRegister {
  public:
    PtyRegister(int master, std::vector<std::string> replies, std::size_t events);
    ~PtyRegister();
    PtyRegister(const PtyRegister&) = delete;
    PtyRegister& operator=(const PtyRegister&) = delete;

    // Waits for the thread; then the events the PC sent.
    const std::vector<std::string>& finish();

  private:
    void serve();

    int master_;
    std::vector<std::string> replies_;
    std::size_t expected_;
    std::vector<std::string> events_;
    std::thread thread_;
};

}  // namespace lorvex::test
