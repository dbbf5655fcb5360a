#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/faults.h"
#include "sim/register_model.h"
#include "sim/request.h"

namespace lorvex::sim {

// Where the engine puts the bytes it sends. Returns the time at which the last of them will have
// left the register.
class LineOutput {
  public:
    virtual ~LineOutput() = default;
    virtual std::uint64_t send(std::string_view bytes, std::uint64_t atUs) = 0;
    // Forgets the bytes that have not started on the line by `atUs` (the register starts over).
    virtual void dropPending(std::uint64_t atUs) = 0;
};

// One transaction as the register saw it.
struct Exchange {
    int transaction = 0;
    std::string request;               // the request frame's text
    std::vector<std::string> records;  // load records received, in order
    std::vector<std::string> answers;  // texts of the frames the register sent
    int status = 0;                    // load: the status sent; dump: the error answered, or 0
    bool completed = false;            // ended by the register's EOT after the PC's part
};

// The register's side of the framed protocol, byte by byte: ACK to the enquiry and to each good
// frame (NAK to one with a wrong checksum), the dump answers after the PC hands over with EOT,
// the status frame after a load, and the faults of the plan.
class ProtocolEngine {
  public:
    // A transaction in which the PC has been silent this long is given up.
    static constexpr std::uint64_t kInactivityUs = 20'000'000;
    static constexpr std::size_t kMaxFrameText = 1024;

    ProtocolEngine(RegisterModel& model, const FaultPlan& faults, LineOutput& output)
        : model_(model), faults_(faults), output_(output) {}

    void onByte(std::uint8_t byte, std::uint64_t us);
    // Gives up a transaction whose PC fell silent, once `us` passes its deadline.
    void advanceTo(std::uint64_t us);
    // The PC has gone (it closed the line): whatever transaction was running is given up.
    void abandon();
    std::optional<std::uint64_t> deadline() const;

    int transactionCount() const { return transaction_; }
    std::uint64_t abandonedTransactions() const { return abandoned_; }
    int badFrames() const { return badFrames_; }
    bool idle() const { return phase_ == Phase::Idle || phase_ == Phase::Ignoring; }
    const std::vector<Exchange>& exchanges() const { return exchanges_; }
    void clearExchanges() { exchanges_.clear(); }
    // Keeps at most this many exchanges (the oldest go first); 0 keeps none.
    void setHistoryLimit(std::size_t limit) { historyLimit_ = limit; }

  private:
    enum class Phase {
        Idle,
        Ignoring,        // a silent or muted transaction: nothing but an enquiry is heard
        AwaitRequest,    // the enquiry is acknowledged, the request frame is awaited
        AwaitTurn,       // a dump request is acknowledged, the PC's EOT is awaited
        AwaitBlockAck,   // an answer block is sent, the PC's ACK is awaited
        AwaitRecord,     // a load request is acknowledged, records (or the PC's EOT) are awaited
        AwaitStatusAck,  // the status frame of a load is sent, the PC's ACK is awaited
    };
    enum class FramePart { Outside, Text, Checksum };

    void startTransaction(std::uint64_t us);
    void frameByte(std::uint8_t byte, std::uint64_t us);
    void handleFrame(const std::string& text, bool good, std::uint64_t us);
    void handleRequest(const std::string& text, std::uint64_t us);
    void handleRecord(const std::string& text, std::uint64_t us);
    void startAnswer(std::uint64_t us);
    void sendBlock(std::uint64_t us);
    void blockAcknowledged(std::uint64_t us);
    void sendStatus(int code, std::uint64_t us);
    void sendFrame(const std::string& text, bool last, std::uint64_t us);
    void sendBytes(std::string_view bytes, std::uint64_t us);
    void finish(bool completed);
    void busy(std::uint64_t us);
    Exchange& current();

    RegisterModel& model_;
    const FaultPlan& faults_;
    LineOutput& output_;

    Phase phase_ = Phase::Idle;
    FramePart framePart_ = FramePart::Outside;
    std::string frameText_;
    std::string frameChecksum_;
    bool frameOverflow_ = false;

    int transaction_ = 0;
    std::uint64_t lastActivityUs_ = 0;
    std::uint64_t abandoned_ = 0;
    int badFrames_ = 0;
    bool frameSentThisTransaction_ = false;

    Request request_;
    int requestStatus_ = 0;
    DumpAnswer answer_;
    std::size_t blockIndex_ = 0;
    bool finalBlockSent_ = false;
    bool errorSent_ = false;
    std::string lastFrame_;
    int resends_ = 0;
    int recordsSeen_ = 0;
    int loadStatus_ = 0;
    std::map<char, int> itemCounts_;

    std::vector<Exchange> exchanges_;
    Exchange scratch_;  // the current exchange when no history is kept
    std::size_t historyLimit_ = 100000;
};

}  // namespace lorvex::sim
