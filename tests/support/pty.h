#pragma once

// A pseudo-terminal pair (POSIX): the test plays the register on the master side, the program
// opens the slave. Header-only, for the unit tests of the port.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <string>

namespace lorvex::test {

class PtyPair {
  public:
    PtyPair() {
        std::array<char, 128> name{};
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0 &&
            ::ptsname_r(master_, name.data(), name.size()) == 0) {
            slavePath_ = name.data();
        }
    }
    ~PtyPair() { closeMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return !slavePath_.empty(); }
    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    // Closes the master: the line goes dead for the program.
    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

  private:
    int master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::string slavePath_;
};

}  // namespace lorvex::test
