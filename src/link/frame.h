#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lorvex {

// Control bytes of the register's protocol.
inline constexpr std::uint8_t STX = 0x02;
inline constexpr std::uint8_t ETX = 0x03;
inline constexpr std::uint8_t EOT = 0x04;
inline constexpr std::uint8_t ENQ = 0x05;
inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t HT = 0x09;
inline constexpr std::uint8_t DLE = 0x10;
inline constexpr std::uint8_t NAK = 0x15;
inline constexpr std::uint8_t ETB = 0x17;
// receiveByte hands this out when nothing arrived for 5000 ms.
inline constexpr std::uint8_t kTimeoutMarker = 0x21;

// The frame checksum: each text byte shifted left by (its index mod 9), the closing ETX by
// (length mod 9), all XORed together. Never above 16 bits.
inline std::uint16_t frameChecksum(std::string_view text) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        sum ^= static_cast<std::uint32_t>(static_cast<unsigned char>(text[i])) << (i % 9);
    }
    sum ^= static_cast<std::uint32_t>(ETX) << (text.size() % 9);
    return static_cast<std::uint16_t>(sum);
}

}  // namespace lorvex
