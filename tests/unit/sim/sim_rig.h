#pragma once

#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "sim/simulated_port.h"
#include "sim/simulated_register.h"
#include "support/scripted_pc.h"

namespace lorvex::sim {

// A simulated register on a virtual clock with a scripted PC at the other end of the line.
struct SimRig {
    explicit SimRig(RegisterMemory memory = demoMemory()) : reg(std::move(memory)) {}

    SimulatedRegister reg;
    VirtualClock clock;
    SimulatedPort port{reg, clock};
    test::ScriptedPc pc{port};
};

// "S", the letter, the mode and the two numbers zero-padded to 18 digits.
inline std::string request(char letter, int mode, long long first = 0, long long second = 0) {
    char text[64];
    std::snprintf(text, sizeof text, "S%c%d%018lld%018lld", letter, mode, first, second);
    return text;
}

// Text right-aligned in a field of `width`, as the PC writes numbers and codes.
inline std::string right(const std::string& text, std::size_t width) {
    return std::string(width - text.size(), ' ') + text;
}

// A code range as the PC asks for goods: each bound right-aligned in 18 characters with blanks.
inline std::string rangeRequest(char letter, int mode, const std::string& from,
                                const std::string& to) {
    char text[64];
    std::snprintf(text, sizeof text, "S%c%d%18s%18s", letter, mode, from.c_str(), to.c_str());
    return text;
}

}  // namespace lorvex::sim
