#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

#include "platform/clock.h"
#include "sim/simulated_port.h"
#include "sim/simulated_register.h"
#include "support/scripted_port.h"

namespace lorvex::sim {

// A simulated register on a virtual clock; the test plays the PC byte by byte.
struct SimRig {
    explicit SimRig(RegisterMemory memory = demoMemory()) : reg(std::move(memory)) {}

    // Writes the PC's bytes; what the register sends back before a second of silence.
    std::string say(const std::string& bytes) {
        port.writeBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        std::string heard;
        std::uint8_t chunk[512];
        while (port.waitReadable(1000) == WaitResult::Ready) {
            const std::size_t count = port.readAvailable(chunk, sizeof chunk);
            if (count == 0) break;
            heard.append(reinterpret_cast<const char*>(chunk), count);
        }
        return heard;
    }

    SimulatedRegister reg;
    VirtualClock clock;
    SimulatedPort port{reg, clock};
};

inline std::string bytes(std::initializer_list<std::uint8_t> list) {
    return std::string(list.begin(), list.end());
}

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

}  // namespace lorvex::sim
