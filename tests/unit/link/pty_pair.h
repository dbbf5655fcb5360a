#pragma once

#include <string>

namespace lorvex::test {

// A pseudo-terminal: the test plays the register on the master side, the program opens the slave.
class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !slavePath_.empty(); }
    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    // Closes the master: the line goes dead for the program.
    void closeMaster();

  private:
    int master_ = -1;
    std::string slavePath_;
};

}  // namespace lorvex::test
