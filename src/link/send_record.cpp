#include <string>

#include "link/frame.h"
#include "link/link_limits.h"
#include "link/register_link.h"
#include "text/format.h"

namespace lorvex {

using namespace link_limits;

namespace {

enum class Phase { RecordPending, RecordSent, EndSent };

}  // namespace

StatusCode RegisterLink::sendRecord(std::string_view request, std::string_view record) {
    const StatusCode opened = openTransaction(request, Opening::Record);
    if (opened != 0) return opened;
    ++sentRecordCount_;
    trace(4, "\n<");
    return reactToRegister(record, RecordPosition::Only);
}

StatusCode RegisterLink::sendRecordChained(std::string_view request, std::string_view record,
                                           RecordPosition position) {
    if (position == RecordPosition::Only) return sendRecord(request, record);
    if (position == RecordPosition::First) {
        const StatusCode opened = openTransaction(request, Opening::Chained);
        if (opened != 0) return opened;
        pending_ = nextByte();
        if (traceLevel_ >= 4)
            trace(4, format("%d,", pending_ == kTimedOut ? kTimeoutMarker : pending_));
    }
    ++sentRecordCount_;
    trace(4, "\n>");
    return reactToRegister(record, position);
}

StatusCode RegisterLink::reactToRegister(std::string_view record, RecordPosition position) {
    const bool chained = position != RecordPosition::Only;
    const auto shown = [](int byte) { return byte == kTimedOut ? kTimeoutMarker : byte; };
    Phase phase = Phase::RecordPending;
    bool inText = false;
    const auto take = [&] {
        const int byte = nextByte(inText ? kFrameTailBytes : 1);
        if (chained && traceLevel_ >= 4) trace(4, format("%d,", shown(byte)));
        return byte;
    };
    int status = 0;
    int digitPosition = 0;
    int naks = 0;
    int timeouts = 0;
    int busyBytes = 0;
    long handled = 0;
    // A chained call starts from the byte that ended the previous call of the chain.
    int byte = chained ? pending_ : take();
    for (;;) {
        if (chained) pending_ = byte;
        if (byte == EOT) break;
        if (++handled > kMostBytesPerCall) {
            sendByte(EOT);
            return kNoAnswer;
        }
        if (chained) {
            if (traceLevel_ >= 4) trace(4, format("%d,", shown(byte)));
        } else {
            traceReceived(byte, "<%d\n");
        }
        if (byte == kTimedOut) {
            if (!sendByte(EOT)) return kNoAnswer;
            if (timeouts >= 1) {
                // The second silence ends the transaction. Only a record the register has taken
                // (acknowledged, EOT sent) may count as loaded; anything earlier is a failure. A
                // status frame cut off leaves the outcome unknown: the link was lost.
                if (inText) return kLinkLost;
                return phase == Phase::EndSent ? status : kNoAnswer;
            }
            ++timeouts;
            byte = take();
            continue;
        }
        if (byte == ACK && inText && !sendByte(EOT)) return kNoAnswer;
        if (byte == ACK && phase == Phase::RecordSent) {
            if (position == RecordPosition::First) return sendByte(ETB) ? 0 : kNoAnswer;
            if (position == RecordPosition::Middle) return 0;
            if (!sendByte(EOT)) return kNoAnswer;
            phase = Phase::EndSent;
        }
        if (byte == ACK && phase == Phase::RecordPending) {
            if (!sendFrame(record)) return kNoAnswer;
            trace(4, "\n");
            phase = Phase::RecordSent;
        }
        if (byte == NAK) {
            if (naks < kMostNaks) {
                // The protocol resends only after many refusals, counted against the length.
                if (naks > static_cast<long>(record.size()) + 6 && !sendFrame(record)) {
                    return kNoAnswer;
                }
                trace(4, "\n");
                phase = Phase::RecordSent;
            } else if (!sendByte(EOT)) {
                return kNoAnswer;
            }
            if (++naks > kMostNaks) return kNoAnswer;
        }
        if (byte == ENQ && !sendByte(ACK)) return kNoAnswer;
        if (byte == DLE) {
            byte = take();
            if (byte == '@' && !sendByte(EOT)) return kNoAnswer;
        }
        if (byte == '@' && !sendByte(EOT)) return kNoAnswer;
        if (byte == HT) {
            if (++busyBytes > kMostLoadBusyBytes && !sendByte(EOT)) return kNoAnswer;
            showProgress();
        }
        if (byte == STX) {
            digitPosition = 0;
            inText = true;
            byte = take();
        }
        if (inText && byte != kTimedOut) {
            // The status sits in the 4th and 5th characters as two decimal digits.
            if (digitPosition == 3) status = 10 * (byte - '0');
            if (digitPosition == 4) {
                status += byte >= '0' && byte <= ':' ? byte - '0' : byte - '0' + 10;
            }
            ++digitPosition;
            if (traceLevel_ >= 5) trace(5, format("er=%d,%d", digitPosition, byte));
        }
        if (byte == ETX || byte == ETB) {
            inText = false;
            skipChecksum();
            if (!sendByte(ACK)) return kNoAnswer;
        }
        byte = take();
    }
    if (traceLevel_ >= 4) trace(4, format("%d\n", byte));
    return inText ? kLinkLost : status;
}

}  // namespace lorvex
