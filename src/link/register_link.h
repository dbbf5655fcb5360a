#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/status.h"
#include "link/serial_port.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "text/fields.h"

namespace lorvex {

// "S%c%d%018ld%018ld": the request text of a data kind.
std::string buildRequest(char letter, int mode, long first, long second);

// Two hexadecimal characters to a status: each looked up in "0123456789ABCDEF", 17 when absent.
int parseStatus(char first, char second);

// Where a record stands in a chained load transaction. First opens it with the request, Middle
// adds a record, Last adds the final record and reads the register's status. Only is a
// transaction of a single record: one plain load exchange, so the record is never sent twice.
enum class RecordPosition { First, Middle, Last, Only };

// The framed enquiry/acknowledgement protocol with the register, over one serial port.
class RegisterLink {
  public:
    RegisterLink(SerialPort& port, Clock& clock, Console& console, int traceLevel);

    // The next received byte, or the time-out marker '!' (33) after 5000 ms without one.
    std::uint8_t receiveByte();
    // Sends one byte. A write that keeps failing for 5000 ms gives false.
    bool sendByte(std::uint8_t byte);
    // STX, the text, ETX and the four checksum characters.
    bool sendFrame(std::string_view text);

    // Dump transaction. With blockCounter 0 it opens the transaction and sends `buffer` (the
    // request); it then receives until ETB (blockCounter raised, more blocks follow) or the
    // register's EOT (blockCounter 0). `buffer` ends up holding the text of the last frame
    // received, ETX or ETB included. Returns 0, -1 (no ACK to the enquiry, or more than 100
    // refusals) or 99 (link lost); blockCounter is 0 after every failure.
    StatusCode receiveAnswer(std::string& buffer, int& blockCounter);

    // Load transaction of one record: 0, -1, or the register's status from its answer frame.
    StatusCode sendRecord(std::string_view request, std::string_view record);

    // One record of a chained load (PLU goods) at its position; Only is a plain sendRecord.
    StatusCode sendRecordChained(std::string_view request, std::string_view record,
                                 RecordPosition position);

    // Advances the spinner at column 40, row 11 (only drawn on a terminal).
    void showProgress();

    int sentRecordCount() const { return sentRecordCount_; }

  private:
    // What nextByte hands out when nothing arrived for 5000 ms: never a byte value, so a '!' the
    // register really sent stays an ordinary byte.
    static constexpr int kTimedOut = -1;
    static constexpr int kRingSize = 1024;

    enum class Opening { Answer, Record, Chained };

    // The next byte or kTimedOut. `ahead` is how many bytes must still come before the caller
    // can react to any (the rest of a frame): the wait need not wake for each of them.
    int nextByte(std::size_t ahead = 1);
    StatusCode openTransaction(std::string_view request, Opening opening);
    StatusCode reactToRegister(std::string_view record, RecordPosition position);
    StatusCode abandonAnswer(int& blockCounter, StatusCode status);
    void skipChecksum();
    void trace(int level, std::string_view text, TextEncoding encoding = TextEncoding::Ascii);
    void traceReceived(int byte, const char* controlFormat);

    SerialPort& port_;
    Clock& clock_;
    Console& console_;
    int traceLevel_;
    int sentRecordCount_ = 0;
    int spinner_ = 0;
    // Receive ring: both indexes name the slot last used, so the ring is empty when they meet.
    std::uint8_t ring_[kRingSize] = {};
    int ringWrite_ = 0;
    int ringRead_ = 0;
    // The last byte a chained call handled; the next call of the chain starts from it.
    int pending_ = 0;
    // The last block of the answer being received: its kind (its first characters), its bytes
    // after STX, and whether blocks of one kind have differed in length (then nothing is
    // guessed from them).
    std::string blockKind_;
    std::size_t blockBytes_ = 0;
    bool blockSizesVary_ = false;
};

}  // namespace lorvex
