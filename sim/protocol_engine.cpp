#include "sim/protocol_engine.h"

#include <algorithm>
#include <cstdio>

#include "link/frame.h"
#include "sim/status_codes.h"

namespace lorvex::sim {
namespace {

constexpr int kMaxResends = 3;

std::string checksumText(const std::string& text) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(frameChecksum(text)));
    return digits;
}

}  // namespace

Exchange& ProtocolEngine::current() {
    if (!exchanges_.empty() && exchanges_.back().transaction == transaction_) {
        return exchanges_.back();
    }
    if (scratch_.transaction != transaction_) {
        scratch_ = Exchange{};
        scratch_.transaction = transaction_;
    }
    return scratch_;
}

void ProtocolEngine::onByte(std::uint8_t byte, std::uint64_t us) {
    lastActivityUs_ = std::max(lastActivityUs_, us);
    if (framePart_ != FramePart::Outside) {
        frameByte(byte, us);
        return;
    }
    if (byte == ENQ) {
        startTransaction(us);
        return;
    }
    switch (phase_) {
        case Phase::Idle:
        case Phase::Ignoring:
            return;
        case Phase::AwaitRequest:
        case Phase::AwaitRecord:
            if (byte == STX) {
                framePart_ = FramePart::Text;
                frameText_.clear();
                frameOverflow_ = false;
            } else if (byte == EOT && phase_ == Phase::AwaitRequest) {
                finish(false);
            } else if (byte == EOT) {
                // The PC has sent its records; an ETB between them needs no answer.
                const int code = recordsSeen_ > 0      ? loadStatus_
                                 : requestStatus_ != 0 ? requestStatus_
                                                       : status::kBadTransmission;
                sendStatus(code, us);
            }
            return;
        case Phase::AwaitTurn:
            if (byte == EOT) startAnswer(us);
            return;
        case Phase::AwaitBlockAck:
        case Phase::AwaitStatusAck:
            if (byte == ACK && phase_ == Phase::AwaitBlockAck) {
                blockAcknowledged(us);
            } else if (byte == ACK) {
                sendBytes(std::string(1, static_cast<char>(EOT)), us);
                finish(true);
            } else if (byte == NAK && resends_ < kMaxResends) {
                ++resends_;
                sendBytes(lastFrame_, us);
            } else if (byte == NAK || byte == EOT) {
                if (byte == NAK) sendBytes(std::string(1, static_cast<char>(EOT)), us);
                finish(false);
            }
            return;
    }
}

void ProtocolEngine::frameByte(std::uint8_t byte, std::uint64_t us) {
    if (framePart_ == FramePart::Text) {
        if (byte == ETX || byte == ETB) {
            framePart_ = FramePart::Checksum;
            frameChecksum_.clear();
        } else if (byte == STX) {
            // The PC started the frame over.
            frameText_.clear();
            frameOverflow_ = false;
        } else if (frameText_.size() < kMaxFrameText) {
            frameText_ += static_cast<char>(byte);
        } else {
            frameOverflow_ = true;
        }
        return;
    }
    frameChecksum_ += static_cast<char>(byte);
    if (frameChecksum_.size() < 4) return;
    framePart_ = FramePart::Outside;
    const bool good = !frameOverflow_ && frameChecksum_ == checksumText(frameText_);
    handleFrame(frameText_, good, us);
}

void ProtocolEngine::handleFrame(const std::string& text, bool good, std::uint64_t us) {
    if (!good) {
        ++badFrames_;
        sendBytes(std::string(1, static_cast<char>(NAK)), us);
        return;
    }
    if (phase_ == Phase::AwaitRequest) {
        handleRequest(text, us);
    } else if (phase_ == Phase::AwaitRecord) {
        handleRecord(text, us);
    }
}

void ProtocolEngine::startTransaction(std::uint64_t us) {
    if (!idle()) finish(false);  // the PC started over
    output_.dropPending(us);
    framePart_ = FramePart::Outside;
    ++transaction_;
    request_ = Request{};
    requestStatus_ = 0;
    answer_ = DumpAnswer{};
    recordsSeen_ = 0;
    loadStatus_ = 0;
    resends_ = 0;
    frameSentThisTransaction_ = false;
    if (historyLimit_ > 0) {
        if (exchanges_.size() >= historyLimit_) exchanges_.erase(exchanges_.begin());
        Exchange exchange;
        exchange.transaction = transaction_;
        exchanges_.push_back(exchange);
    }
    if (faults_.find(FaultKind::Silence, transaction_) != nullptr) {
        phase_ = Phase::Ignoring;
        return;
    }
    sendBytes(std::string(1, static_cast<char>(ACK)), us);
    phase_ = Phase::AwaitRequest;
}

void ProtocolEngine::handleRequest(const std::string& text, std::uint64_t us) {
    current().request = text;
    requestStatus_ = parseRequest(text, request_);
    if (request_.letter == 0) request_.letter = text.size() > 1 ? text[1] : '?';
    // A request the register cannot read still tells by its mode digit whether records follow.
    const bool load =
        requestStatus_ == status::kOk ? request_.isLoad() : (text.size() > 2 && text[2] == '1');
    if (const Fault* naks = faults_.find(FaultKind::Naks, transaction_)) {
        sendBytes(
            std::string(static_cast<std::size_t>(std::max(naks->count, 0)), static_cast<char>(NAK)),
            us);
    }
    sendBytes(std::string(1, static_cast<char>(ACK)), us);
    if (faults_.find(FaultKind::Mute, transaction_) != nullptr) {
        phase_ = Phase::Ignoring;
        return;
    }
    if (load) {
        phase_ = Phase::AwaitRecord;
        return;
    }
    if (requestStatus_ != status::kOk) {
        answer_.error = requestStatus_;
    } else {
        answer_ = model_.dump(request_);
    }
    phase_ = Phase::AwaitTurn;
}

void ProtocolEngine::handleRecord(const std::string& text, std::uint64_t us) {
    current().records.push_back(text);
    ++recordsSeen_;
    const int item = ++itemCounts_[request_.letter];
    int code = requestStatus_;
    if (code == status::kOk) {
        const std::optional<int> injected = faults_.errorFor(request_.letter, item);
        code = injected ? *injected : model_.load(request_, text);
    }
    // The register acknowledges every record of a chained load and stores the ones it can; its
    // final status frame carries the first refusal's code and names no record. A register of the
    // other kind (--abort-chain) answers the refused record at once with the status frame.
    if (code != status::kOk && loadStatus_ == status::kOk) loadStatus_ = code;
    if (code != status::kOk && faults_.abortChainOnError) {
        sendStatus(code, us);
        return;
    }
    sendBytes(std::string(1, static_cast<char>(ACK)), us);
}

void ProtocolEngine::busy(std::uint64_t us) {
    if (const Fault* fault = faults_.find(FaultKind::Busy, transaction_)) {
        sendBytes(
            std::string(static_cast<std::size_t>(std::max(fault->count, 0)), static_cast<char>(HT)),
            us);
    }
}

void ProtocolEngine::startAnswer(std::uint64_t us) {
    busy(us);
    blockIndex_ = 0;
    errorSent_ = false;
    if (answer_.error != status::kOk) {
        current().status = answer_.error;
        errorSent_ = true;
        finalBlockSent_ = true;
        sendFrame(errorAnswer(request_.letter, answer_.error), true, us);
        phase_ = Phase::AwaitBlockAck;
        return;
    }
    if (answer_.blocks.empty()) {
        // Nothing in the range: the register ends the transaction at once.
        sendBytes(std::string(1, static_cast<char>(EOT)), us);
        finish(true);
        return;
    }
    sendBlock(us);
}

void ProtocolEngine::sendBlock(std::uint64_t us) {
    const int item = ++itemCounts_[request_.letter];
    std::string text;
    bool last = blockIndex_ + 1 >= answer_.blocks.size();
    if (const std::optional<int> injected = faults_.errorFor(request_.letter, item)) {
        text = errorAnswer(request_.letter, *injected);
        current().status = *injected;
        errorSent_ = true;
        last = true;
    } else {
        text = answer_.blocks[blockIndex_];
    }
    finalBlockSent_ = last;
    resends_ = 0;
    sendFrame(text, last, us);
    phase_ = Phase::AwaitBlockAck;
}

void ProtocolEngine::blockAcknowledged(std::uint64_t us) {
    if (!finalBlockSent_) {
        ++blockIndex_;
        sendBlock(us);
        return;
    }
    if (!errorSent_) model_.delivered(answer_);
    sendBytes(std::string(1, static_cast<char>(EOT)), us);
    finish(true);
}

void ProtocolEngine::sendStatus(int code, std::uint64_t us) {
    busy(us);
    current().status = code;
    resends_ = 0;
    sendFrame(loadStatusAnswer(request_.letter, code), true, us);
    phase_ = Phase::AwaitStatusAck;
}

void ProtocolEngine::sendFrame(const std::string& text, bool last, std::uint64_t us) {
    if (const Fault* garbage = faults_.find(FaultKind::Garbage, transaction_)) {
        sendBytes(garbage->bytes, us);
    }
    std::string frame(1, static_cast<char>(STX));
    frame += text;
    frame += static_cast<char>(last ? ETX : ETB);
    frame += checksumText(text);
    lastFrame_ = frame;
    current().answers.push_back(text);
    const Fault* cut = faults_.find(FaultKind::CutLine, transaction_);
    if (cut != nullptr && !frameSentThisTransaction_) {
        frame.resize(std::min(frame.size(), static_cast<std::size_t>(std::max(cut->count, 0))));
    }
    frameSentThisTransaction_ = true;
    sendBytes(frame, us);
}

void ProtocolEngine::sendBytes(std::string_view bytes, std::uint64_t us) {
    if (bytes.empty()) return;
    lastActivityUs_ = std::max(lastActivityUs_, output_.send(bytes, us));
}

void ProtocolEngine::finish(bool completed) {
    if (!exchanges_.empty() && exchanges_.back().transaction == transaction_) {
        exchanges_.back().completed = completed;
    }
    phase_ = Phase::Idle;
    framePart_ = FramePart::Outside;
}

void ProtocolEngine::advanceTo(std::uint64_t us) {
    const std::optional<std::uint64_t> due = deadline();
    if (!due || us < *due) return;
    ++abandoned_;
    finish(false);
}

void ProtocolEngine::abandon() {
    if (idle()) return;
    ++abandoned_;
    finish(false);
}

std::optional<std::uint64_t> ProtocolEngine::deadline() const {
    if (idle()) return std::nullopt;
    return lastActivityUs_ + kInactivityUs;
}

}  // namespace lorvex::sim
