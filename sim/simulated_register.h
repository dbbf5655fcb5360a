#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "sim/faults.h"
#include "sim/protocol_engine.h"
#include "sim/register_model.h"
#include "sim/transcript.h"

namespace lorvex::sim {

// The register at the end of a line: its model, its protocol engine, the fault plan, the line
// (each byte taking 10 bit times at the baud rate, when line time is on) and the transcript.
// Front ends (SimulatedPort, the pty server) hand it the PC's bytes and take the register's bytes
// when they are due; time is counted in microseconds from the front end's own start.
class SimulatedRegister final : private LineOutput {
  public:
    explicit SimulatedRegister(RegisterMemory memory = demoMemory());
    SimulatedRegister(const SimulatedRegister&) = delete;
    SimulatedRegister& operator=(const SimulatedRegister&) = delete;

    RegisterModel& model() { return model_; }
    RegisterMemory& memory() { return model_.memory(); }
    FaultPlan& faults() { return faults_; }
    Transcript& transcript() { return transcript_; }
    const Transcript& transcript() const { return transcript_; }
    ProtocolEngine& engine() { return engine_; }
    const std::vector<Exchange>& exchanges() const { return engine_.exchanges(); }

    // Line time at 9600 or 19200 baud; 0 turns it off (bytes arrive at once).
    void setBaud(int baud);
    std::uint64_t byteTimeUs() const { return byteTimeUs_; }
    // Keep the transcript in memory (tests) or only hand it to the listener (the server).
    void keepTranscript(bool keep) { keepTranscript_ = keep; }
    void setListener(std::function<void(Side, std::uint64_t, std::uint8_t)> listener) {
        listener_ = std::move(listener);
    }

    // The PC's bytes start on the line at `nowUs`; returns when the last has arrived.
    std::uint64_t fromPc(const std::uint8_t* data, std::size_t count, std::uint64_t nowUs);
    // Runs the register up to `nowUs`: the PC's bytes that have arrived, its own time-outs.
    void advanceTo(std::uint64_t nowUs);
    // The register's bytes that have reached the PC by `nowUs`, at most `most` of them.
    std::size_t toPc(std::uint64_t nowUs, std::uint8_t* buffer, std::size_t most);
    bool outputDue(std::uint64_t nowUs) const;
    // The PC closed the line: bytes still on their way are lost and the transaction is given up.
    void lineClosed();
    bool outputPending() const { return !outbound_.empty(); }
    // When something next happens: a byte arrives at either end, or a time-out runs out.
    std::optional<std::uint64_t> nextEventUs() const;

  private:
    struct Timed {
        std::uint64_t us;
        std::uint8_t byte;
    };

    std::uint64_t send(std::string_view bytes, std::uint64_t atUs) override;
    void dropPending(std::uint64_t atUs) override;
    void record(Side side, std::uint64_t us, std::uint8_t byte);

    RegisterModel model_;
    FaultPlan faults_;
    ProtocolEngine engine_;
    Transcript transcript_;
    bool keepTranscript_ = true;
    std::function<void(Side, std::uint64_t, std::uint8_t)> listener_;

    std::uint64_t byteTimeUs_ = 0;
    std::deque<Timed> inbound_;
    std::deque<Timed> outbound_;
    std::uint64_t inboundFreeUs_ = 0;
    std::uint64_t outboundFreeUs_ = 0;
};

}  // namespace lorvex::sim
