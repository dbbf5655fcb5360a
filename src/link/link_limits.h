#pragma once

#include <cstddef>
#include <cstdint>

namespace lorvex::link_limits {

// The register answers a byte within this time or is taken to be silent.
inline constexpr std::uint32_t kByteTimeoutMs = 5000;
// Longest single wait for bytes: the wait still ends as soon as one arrives.
inline constexpr std::uint32_t kWaitSliceMs = 100;
// A poll of the port takes at most this many bytes into the receive ring.
inline constexpr std::size_t kBytesPerPoll = 100;
// A write the device keeps refusing (adapter pulled out) is retried this long, then given up.
inline constexpr std::uint32_t kWriteRetryMs = 5000;
inline constexpr std::uint32_t kWriteRetryPauseMs = 100;
// Pauses the register is paced with.
inline constexpr std::uint32_t kPauseBeforeEnquiryMs = 100;
inline constexpr std::uint32_t kPauseAwaitingAckMs = 100;
inline constexpr std::uint32_t kPauseBeforeFinalEotMs = 100;
// Bytes other than ACK tolerated while awaiting the answer to an enquiry (a chattering device on
// the line must not hold the run forever).
inline constexpr int kMostStrayBytesBeforeAck = 1024;
inline constexpr std::uint32_t kMostAckWaitMs = 10000;
// Bytes handled in one call of a transaction procedure before the line is given up as chatter:
// far above the busy bytes and frames of any real exchange.
inline constexpr long kMostBytesPerCall = 200000;
// Limits of the protocol itself.
inline constexpr int kMostNaks = 100;
inline constexpr long kMostDumpBusyBytes = 100000;
inline constexpr int kMostLoadBusyBytes = 1000;
// Inside a frame's text at least this many bytes still come before the frame ends: ETX or ETB
// and the four checksum characters.
inline constexpr std::size_t kFrameTailBytes = 5;
// A block of an answer is taken to be as long as the block of the same kind before it; a wait
// trusts that guess for at most this many bytes, so a guess gone wrong costs little time.
inline constexpr std::size_t kMostBytesGuessed = 32;
// The characters that name a block's kind: 'D' or 'E' and the wire letter.
inline constexpr std::size_t kBlockKindBytes = 2;
// Answer texts are kept up to this many bytes; the last slot takes the byte that closed the text.
inline constexpr std::size_t kAnswerCapacity = 1024;

}  // namespace lorvex::link_limits
