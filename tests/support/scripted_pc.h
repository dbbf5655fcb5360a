#pragma once

// A small, strict PC side of the register's protocol, written for tests of the simulated register
// (in-process over a SimulatedPort, or over a real pty). Header-only, so that the unit tests of
// the simulator can use it without the program's libraries.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/scripted_port.h"

namespace lorvex::test {

struct PcResult {
    bool acknowledged = false;       // the enquiry got its ACK
    std::vector<std::string> texts;  // frames from the register, in order
    bool checksumsGood = true;       // every received frame carried the right checksum
    bool ended = false;              // the register ended the transaction with EOT
    bool timedOut = false;           // the register fell silent for 5 s
    int naks = 0;
    int busy = 0;    // HT bytes
    int status = 0;  // load: decimal digits 3-4 of the last frame; dump: hex of an E

    const std::string& last() const {
        static const std::string kNone;
        return texts.empty() ? kNone : texts.back();
    }
};

class ScriptedPc {
  public:
    explicit ScriptedPc(SerialPort& port, std::uint32_t timeoutMs = 5000)
        : port_(port), timeoutMs_(timeoutMs) {}

    // ENQ, the request; ACK is answered with EOT (the PC hands over), every frame with ACK, the
    // register's EOT with EOT.
    PcResult dump(std::string_view request) {
        PcResult result;
        if (!open(request, result)) return result;
        for (;;) {
            const std::optional<std::uint8_t> byte = readByte();
            if (!byte) {
                result.timedOut = true;
                return result;
            }
            if (*byte == ACK) {
                writeByte(EOT);
            } else if (*byte == STX) {
                if (!readFrame(result)) return result;
                writeByte(ACK);
            } else if (*byte == EOT) {
                result.ended = true;
                writeByte(EOT);
                break;
            } else {
                count(*byte, result);
            }
        }
        const std::string& text = result.last();
        if (!text.empty() && text[0] == 'E' && text.size() >= 5) {
            result.status = hexValue(text[3]) * 16 + hexValue(text[4]);
        }
        return result;
    }

    // ENQ, the request, each record after the register's ACK (ETB between records when chained),
    // EOT; then the register's status frame (ACKed) until its EOT.
    PcResult load(std::string_view request, const std::vector<std::string>& records,
                  bool chained = false) {
        PcResult result;
        if (!open(request, result)) return result;
        if (!awaitAck(result)) return finishStatus(result);
        for (std::size_t i = 0; i < records.size(); ++i) {
            sendFrame(records[i]);
            if (!awaitAck(result)) return finishStatus(result);
            if (chained && i + 1 < records.size()) writeByte(ETB);
        }
        writeByte(EOT);
        return finishStatus(result);
    }

    void sendFrame(std::string_view text) { write(registerFrame(text)); }
    void writeByte(std::uint8_t byte) { write(std::string(1, static_cast<char>(byte))); }
    void write(std::string_view bytes) {
        port_.writeBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::optional<std::uint8_t> readByte() {
        if (buffer_.empty()) {
            if (port_.waitReadable(timeoutMs_) != WaitResult::Ready) return std::nullopt;
            std::uint8_t chunk[256];
            const std::size_t count = port_.readAvailable(chunk, sizeof chunk);
            for (std::size_t i = 0; i < count; ++i) buffer_.push_back(chunk[i]);
            if (buffer_.empty()) return std::nullopt;
        }
        const std::uint8_t byte = buffer_.front();
        buffer_.pop_front();
        return byte;
    }

    static std::string checksumText(std::string_view text) { return test::checksumText(text); }

  private:
    static int hexValue(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return 17;
    }

    static void count(std::uint8_t byte, PcResult& result) {
        if (byte == NAK) ++result.naks;
        if (byte == HT) ++result.busy;
    }

    bool open(std::string_view request, PcResult& result) {
        writeByte(ENQ);
        for (;;) {
            const std::optional<std::uint8_t> byte = readByte();
            if (!byte) {
                result.timedOut = true;
                return false;
            }
            if (*byte == ACK) break;
            count(*byte, result);
        }
        result.acknowledged = true;
        sendFrame(request);
        return true;
    }

    // Waits for the ACK of a frame; a status frame in its place ends the transaction early.
    bool awaitAck(PcResult& result) {
        for (;;) {
            const std::optional<std::uint8_t> byte = readByte();
            if (!byte) {
                result.timedOut = true;
                return false;
            }
            if (*byte == ACK) return true;
            if (*byte == STX) {
                buffer_.push_front(STX);
                return false;
            }
            count(*byte, result);
        }
    }

    PcResult& finishStatus(PcResult& result) {
        if (result.timedOut) return result;
        for (;;) {
            const std::optional<std::uint8_t> byte = readByte();
            if (!byte) {
                result.timedOut = true;
                return result;
            }
            if (*byte == STX) {
                if (!readFrame(result)) return result;
                writeByte(ACK);
            } else if (*byte == EOT) {
                result.ended = true;
                break;
            } else {
                count(*byte, result);
            }
        }
        const std::string& text = result.last();
        if (text.size() >= 5) result.status = (text[3] - '0') * 10 + (text[4] - '0');
        return result;
    }

    bool readFrame(PcResult& result) {
        std::string text;
        for (;;) {
            const std::optional<std::uint8_t> byte = readByte();
            if (!byte) {
                result.timedOut = true;
                return false;
            }
            if (*byte == ETX || *byte == ETB) break;
            text += static_cast<char>(*byte);
        }
        std::string checksum;
        while (checksum.size() < 4) {
            const std::optional<std::uint8_t> byte = readByte();
            if (!byte) {
                result.timedOut = true;
                return false;
            }
            checksum += static_cast<char>(*byte);
        }
        if (checksum != checksumText(text)) result.checksumsGood = false;
        result.texts.push_back(text);
        return true;
    }

    SerialPort& port_;
    std::uint32_t timeoutMs_;
    std::deque<std::uint8_t> buffer_;
};

}  // namespace lorvex::test
