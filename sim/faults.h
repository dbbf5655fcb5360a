#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lorvex::sim {

// Ways the register or the line misbehave, for one transaction or for all of them.
enum class FaultKind {
    Silence,  // the enquiry gets no ACK: the register ignores the whole transaction
    Mute,     // the register acknowledges the request, then says nothing more
    Naks,     // `count` NAKs before the register acknowledges the request frame
    Busy,     // `count` HT bytes before the answer (dump) or the status frame (load)
    Garbage,  // `bytes` on the line before every frame the register sends
    CutLine,  // the line breaks after `count` bytes of the register's first frame
};

struct Fault {
    FaultKind kind = FaultKind::Silence;
    int transaction = 0;  // 0: every transaction; n: only the n-th (counted by enquiries)
    int count = 0;
    std::string bytes;

    static Fault silence() { return {FaultKind::Silence, 0, 0, {}}; }
    static Fault mute() { return {FaultKind::Mute, 0, 0, {}}; }
    static Fault naks(int count) { return {FaultKind::Naks, 0, count, {}}; }
    static Fault busy(int count) { return {FaultKind::Busy, 0, count, {}}; }
    static Fault garbage(std::string bytes = std::string("#~\x7F\xFE?", 5)) {
        return {FaultKind::Garbage, 0, 0, std::move(bytes)};
    }
    static Fault cutLine(int afterBytes) { return {FaultKind::CutLine, 0, afterBytes, {}}; }
    // The same fault for the n-th transaction only.
    Fault at(int n) const {
        Fault copy = *this;
        copy.transaction = n;
        return copy;
    }
};

// An error the register answers in place of an item: the item-th item of the letter in this run
// (each single answer, each block of a multi-block answer, each load record counts as one item).
struct ErrorAt {
    char letter = 0;  // 0: any letter
    int item = 0;     // 0: every item
    int code = 0;
};

struct FaultPlan {
    std::vector<Fault> faults;
    std::vector<ErrorAt> errors;
    // The adapter pulled out (SimulatedPort only): from the n-th enquiry on, or after that many
    // bytes from the PC, every write and read of the port fails.
    int unplugAtTransaction = 0;
    std::optional<std::uint64_t> unplugAfterBytes;
    // A chained load normally reports the first refused record in its final status frame; with
    // this the register answers the refused record at once with the status frame.
    bool abortChainOnError = false;

    FaultPlan& add(Fault fault) {
        faults.push_back(std::move(fault));
        return *this;
    }
    FaultPlan& errorAt(char letter, int item, int code) {
        errors.push_back({letter, item, code});
        return *this;
    }
    const Fault* find(FaultKind kind, int transaction) const {
        for (const Fault& fault : faults) {
            if (fault.kind == kind &&
                (fault.transaction == 0 || fault.transaction == transaction)) {
                return &fault;
            }
        }
        return nullptr;
    }
    std::optional<int> errorFor(char letter, int item) const {
        for (const ErrorAt& error : errors) {
            if ((error.letter == 0 || error.letter == letter) &&
                (error.item == 0 || error.item == item)) {
                return error.code;
            }
        }
        return std::nullopt;
    }
};

}  // namespace lorvex::sim
