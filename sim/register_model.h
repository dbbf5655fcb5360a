#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/register_memory.h"
#include "sim/request.h"

namespace lorvex::sim {

// The register's answer to a dump request: one data text per block (none: the register has
// nothing in that range and ends the transaction at once), or an error status.
struct DumpAnswer {
    std::vector<std::string> blocks;
    int error = 0;
    // Runs once the PC has acknowledged the last block: zeroes the counters a report with mode 2
    // has delivered. Counters are never lost to a report that did not arrive.
    std::function<void(RegisterMemory&)> onDelivered;
};

// The register's data and its rules: answers dump requests, checks and stores load records.
// Knows nothing of bytes on the line; the protocol engine drives it.
class RegisterModel {
  public:
    explicit RegisterModel(RegisterMemory memory = demoMemory()) : memory_(std::move(memory)) {}

    RegisterMemory& memory() { return memory_; }
    const RegisterMemory& memory() const { return memory_; }

    // The answer to a parsed dump request (mode 0 or 2).
    DumpAnswer dump(const Request& request) const;
    // Checks one load record against the request and stores it. 0 or the register's status.
    int load(const Request& request, std::string_view record);
    // Applies what a delivered answer asks for (the zeroing of reported counters).
    void delivered(const DumpAnswer& answer);

    // Raised by every change of the memory, so a front end knows when to save it.
    std::uint64_t revision() const { return revision_; }

  private:
    RegisterMemory memory_;
    std::uint64_t revision_ = 0;
};

// The text of an error answer to a dump: 'E', the letter, '0', the status in two upper-case
// hexadecimal digits.
std::string errorAnswer(char letter, int code);
// The text of the status frame that ends a load: 'D' (or 'E' when the status is not 0), the
// letter, '1', the status in two decimal digits.
std::string loadStatusAnswer(char letter, int code);

}  // namespace lorvex::sim
