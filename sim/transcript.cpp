#include "sim/transcript.h"

#include <cstdio>

#include "sim/cp852.h"

namespace lorvex::sim {
namespace {

constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kEtx = 0x03;
constexpr std::uint8_t kEtb = 0x17;

}  // namespace

std::string Transcript::bytesFrom(Side side) const {
    std::string bytes;
    for (const TranscriptEntry& entry : entries_) {
        if (entry.side == side) bytes += static_cast<char>(entry.byte);
    }
    return bytes;
}

std::vector<std::string> Transcript::framesFrom(Side side) const {
    std::vector<std::string> frames;
    std::string text;
    bool inside = false;
    for (const TranscriptEntry& entry : entries_) {
        if (entry.side != side) continue;
        if (entry.byte == kStx) {
            inside = true;
            text.clear();
        } else if (inside && (entry.byte == kEtx || entry.byte == kEtb)) {
            frames.push_back(text);
            inside = false;
        } else if (inside) {
            text += static_cast<char>(entry.byte);
        }
    }
    return frames;
}

std::string readableByte(std::uint8_t byte) {
    static constexpr const char* kNames[0x20] = {
        "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
        "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
        "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",
    };
    if (byte < 0x20) return std::string("<") + kNames[byte] + ">";
    if (byte == '<') return "<<>";
    if (byte < 0x7F) return std::string(1, static_cast<char>(byte));
    if (isCp852PolishLetter(byte)) return utf8FromCp852(std::string(1, static_cast<char>(byte)));
    char hex[8];
    std::snprintf(hex, sizeof hex, "<%02X>", byte);
    return hex;
}

std::string readableTime(std::uint64_t us) {
    char text[32];
    std::snprintf(text, sizeof text, "%9llu.%03llu", static_cast<unsigned long long>(us / 1000000),
                  static_cast<unsigned long long>((us / 1000) % 1000));
    return text;
}

std::string readableLine(Side side, std::uint64_t us, const std::string& bytes) {
    std::string line = readableTime(us);
    line += side == Side::Pc ? " PC  " : " REG ";
    for (const char c : bytes) line += readableByte(static_cast<std::uint8_t>(c));
    line += '\n';
    return line;
}

std::string Transcript::readable() const {
    std::string out;
    std::size_t i = 0;
    while (i < entries_.size()) {
        const Side side = entries_[i].side;
        const std::uint64_t start = entries_[i].us;
        std::string run;
        bool inFrame = false;
        int checksumLeft = -1;
        // A run ends where the other side speaks or after a frame's checksum.
        while (i < entries_.size() && entries_[i].side == side && checksumLeft != 0) {
            const std::uint8_t byte = entries_[i].byte;
            run += static_cast<char>(byte);
            ++i;
            if (checksumLeft > 0) {
                --checksumLeft;
            } else if (byte == kStx) {
                inFrame = true;
            } else if (inFrame && (byte == kEtx || byte == kEtb)) {
                inFrame = false;
                checksumLeft = 4;
            }
        }
        out += readableLine(side, start, run);
    }
    return out;
}

}  // namespace lorvex::sim
