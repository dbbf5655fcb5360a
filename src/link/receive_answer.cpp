#include <climits>
#include <string>

#include "link/frame.h"
#include "link/link_limits.h"
#include "link/register_link.h"
#include "text/format.h"

namespace lorvex {

using namespace link_limits;

namespace {

// Keeps the first bytes of a long text; the last slot always takes the newest byte, so the
// byte that closed the text is still at its end.
void storeTextByte(std::string& text, int byte) {
    if (text.size() < kAnswerCapacity) {
        text.push_back(static_cast<char>(byte));
    } else {
        text.back() = static_cast<char>(byte);
    }
}

}  // namespace

StatusCode RegisterLink::abandonAnswer(int& blockCounter, StatusCode status) {
    blockCounter = 0;
    return status;
}

StatusCode RegisterLink::receiveAnswer(std::string& buffer, int& blockCounter) {
    trace(4, "start\n");
    if (blockCounter == 0) {
        blockKind_.clear();
        blockBytes_ = 0;
        blockSizesVary_ = false;
        const StatusCode opened = openTransaction(buffer, Opening::Answer);
        if (opened != 0) return abandonAnswer(blockCounter, opened);
    }

    int naks = 0;
    int timeouts = 0;
    long busyBytes = 0;
    long handled = 0;
    bool inText = false;
    // Bytes of the frame's text taken so far, its ETX or ETB included.
    std::size_t textBytes = 0;
    // How many bytes must still come before the PC can react to any: inside a frame at least
    // its tail, and, once it shows to be of the kind of the block before, likely the rest of a
    // block as long as that one.
    const auto ahead = [&]() -> std::size_t {
        if (!inText) return 1;
        const bool alike = !blockSizesVary_ && textBytes >= kBlockKindBytes &&
                           buffer.compare(0, kBlockKindBytes, blockKind_) == 0;
        if (!alike || blockBytes_ <= textBytes + kFrameTailBytes) return kFrameTailBytes;
        return std::min(blockBytes_ - textBytes, kMostBytesGuessed);
    };
    int byte = nextByte();
    while (byte != EOT) {
        if (++handled > kMostBytesPerCall) {
            sendByte(EOT);
            return abandonAnswer(blockCounter, kLinkLost);
        }
        traceReceived(byte, "<%d\n");
        showProgress();
        if (byte == kTimedOut) {
            // The third silence inside the transaction: the register is gone. The counter is
            // cleared so that a caller looping over blocks stops too.
            if (timeouts > 1) return abandonAnswer(blockCounter, kLinkLost);
            ++timeouts;
            byte = nextByte(ahead());
            continue;
        }
        if (byte == 0) {
            byte = nextByte(ahead());
            continue;
        }
        if (byte == NAK) {
            if (naks > kMostNaks) {
                // The register keeps refusing: the transaction is abandoned, not a success.
                sendByte(EOT);
                if (traceLevel_ >= 4) trace(4, format("<%d\n", byte));
                return abandonAnswer(blockCounter, kNoAnswer);
            }
            ++naks;
        }
        if (byte == ACK && !sendByte(EOT)) return abandonAnswer(blockCounter, kNoAnswer);
        if (byte == ENQ && !sendByte(ACK)) return abandonAnswer(blockCounter, kNoAnswer);
        if (byte == DLE) {
            byte = nextByte(ahead());
            if (byte == '@' && !sendByte(EOT)) return abandonAnswer(blockCounter, kNoAnswer);
        }
        if (byte == HT && ++busyBytes > kMostDumpBusyBytes) {
            sendByte(EOT);
            return abandonAnswer(blockCounter, kLinkLost);
        }
        if (byte == STX) {
            buffer.clear();
            inText = true;
            textBytes = 0;
            byte = nextByte(ahead());
        }
        // A silence is never part of the text.
        if (inText && byte != kTimedOut) {
            storeTextByte(buffer, byte);
            ++textBytes;
        }
        if (byte == ETX || byte == ETB) {
            inText = false;
            // A block shorter than one of its kind before ends the guessing for this answer.
            const std::size_t frameBytes = textBytes + kFrameTailBytes - 1;
            const std::string kind = buffer.substr(0, std::min(kBlockKindBytes, textBytes - 1));
            if (kind == blockKind_ && blockBytes_ > frameBytes) blockSizesVary_ = true;
            blockKind_ = kind;
            blockBytes_ = frameBytes;
            skipChecksum();
            if (!sendByte(ACK)) return abandonAnswer(blockCounter, kNoAnswer);
            if (byte == ETB) {
                // Another block follows; the caller calls again for it.
                if (blockCounter < INT_MAX) ++blockCounter;
                break;
            }
        }
        byte = nextByte(ahead());
    }

    if (traceLevel_ >= 4) trace(4, format("<%d\n", byte == kTimedOut ? kTimeoutMarker : byte));
    if (byte == EOT) {
        clock_.sleepMs(kPauseBeforeFinalEotMs);
        blockCounter = 0;
        // The register has closed the transaction and the answer is whole; a closing EOT that
        // cannot go out any more shows up in the next transaction.
        sendByte(EOT);
        trace(4, "EOT\n");
    }
    return 0;
}

}  // namespace lorvex
