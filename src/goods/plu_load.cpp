#include "goods/plu_load.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/dead_line.h"
#include "goods/product_table.h"
#include "text/fields.h"
#include "text/format.h"

namespace lorvex {
namespace {

constexpr std::uint32_t kPauseAfterRecordMs = 10;
constexpr std::uint32_t kPauseAfterEraseMs = 1000;

struct Item {
    int number = 0;
    int line = 0;  // the exchange-file line it came from (0 from a table)
    PluRecord record;
};

// Feeds goods into load transactions one step behind the reading, so the last good sent is
// known to be the last and closes its transaction. Goods that do not fit their record are
// reported and left out without disturbing the positions of the others; their reports wait for
// the good read before them, so the error log keeps the order of the file. Once the load has
// ended (a refused good with stopAtFailure, or a dead line) the goods left are only counted.
class PluChain {
  public:
    PluChain(Run& run, bool stopAtFailure)
        : run_(run), stopAtFailure_(stopAtFailure), guard_(run, "goods") {}

    void add(int number, const PluRecord& record) {
        const bool fits = pluRecordText(run_.settings.recordAction, record).has_value();
        if (ended()) {
            notTried_ += fits ? 1 : 0;
            return;
        }
        if (!fits) {
            if (pending_) {
                held_.push_back({number, run_.currentLine, record});
            } else {
                report({number, run_.currentLine, record}, kBadFileData, false);
            }
            return;
        }
        if (pending_) send(open_ ? RecordPosition::Middle : RecordPosition::First);
        if (ended()) {
            ++notTried_;
            return;
        }
        pending_ = Item{number, run_.currentLine, record};
    }

    // Sends the good still waiting as the last of its transaction, and says what was left.
    void finish() {
        if (pending_ && !ended()) send(open_ ? RecordPosition::Last : RecordPosition::Only);
        if (guard_.dead()) return guard_.giveUp(notTried_);
        guard_.reportHeld();
        if (notTried_ == 0) return;
        run_.counts.notTried += notTried_;
        run_.console.error(
            format("lorvex: the load stopped at good %d, which the register refused; ",
                   stoppedAt_) +
            countOf(notTried_, "goods") + " not tried");
    }

    bool ended() const { return stopped_ || guard_.dead(); }

  private:
    void send(RecordPosition position) {
        if (position == RecordPosition::First) first_ = *pending_;
        const StatusCode status = loadPluRecord(run_, position, pending_->record);
        // A refused good ends the transaction on both sides; the next good opens a new one.
        open_ = status == 0 &&
                (position == RecordPosition::First || position == RecordPosition::Middle);
        // The status that closes a transaction of several goods does not say which of them the
        // register refused, and a transaction broken off leaves all of them in doubt: the first
        // is named.
        const bool linkFailed = status == kNoAnswer || status == kLinkLost;
        const bool inDoubt = status != 0 && (position == RecordPosition::Last ||
                                             (position == RecordPosition::Middle && linkFailed));
        const Item& named = inDoubt ? *first_ : *pending_;
        report(named, status);
        if (inDoubt) sayInDoubt(status, pending_->number);
        if (status != 0 && stopAtFailure_) {
            stopped_ = true;
            stoppedAt_ = pending_->number;
        }
        pending_.reset();
        if (!ended()) {
            for (const Item& bad : held_) report(bad, kBadFileData, false);
        }
        held_.clear();
    }

    void sayInDoubt(StatusCode status, int lastNumber) {
        std::string code = pluCodeLabel(first_->record.code);
        code.erase(0, code.find_first_not_of(' '));
        const bool refused = status > 0 && status != kLinkLost;
        const std::string what =
            refused
                ? format(
                      "refused a good of the load of goods %d to %d (status %d) without "
                      "saying which",
                      first_->number, lastNumber, status)
                : format("did not confirm the load of goods %d to %d", first_->number, lastNumber);
        run_.console.error("lorvex: the register " + what +
                           format("; any from good %d (code %s) on may be missing; a goods dump "
                                  "(/CH) into another file shows which it holds",
                                  first_->number, code.c_str()));
    }

    // Reported under the good's own line, though reading has gone on past it.
    void report(const Item& item, StatusCode status, bool asked = true) {
        run_.currentItemNumber = item.number;
        run_.currentItemCode = pluCodeLabel(item.record.code);
        const int reading = std::exchange(run_.currentLine, item.line);
        guard_.report(status, asked);
        run_.currentLine = reading;
    }

    Run& run_;
    bool stopAtFailure_;
    bool open_ = false;
    bool stopped_ = false;
    int stoppedAt_ = 0;
    std::optional<Item> pending_;
    std::optional<Item> first_;  // the first good of the transaction
    std::vector<Item> held_;
    DeadLineGuard guard_;
    int notTried_ = 0;
};

}  // namespace

StatusCode loadPluRecord(Run& run, RecordPosition position, const PluRecord& record) {
    const int action = run.settings.recordAction;
    const std::optional<std::string> text = pluRecordText(action, record);
    if (!text) return kBadFileData;
    const bool opens = position == RecordPosition::First || position == RecordPosition::Only;
    const std::string request = opens ? pluLoadRequest(record.code) : std::string();
    run.trace(1, record.flags + "\n");
    run.trace(1, "PLU>" + *text + "\n", TextEncoding::Cp852);
    const StatusCode status = run.link.sendRecordChained(request, *text, position);
    run.countRecord(status);
    if (status != 0) return status;
    run.pause(action == 0 ? kPauseAfterEraseMs : kPauseAfterRecordMs);
    return 0;
}

void loadPluFromText(Run& run) {
    run.currentItemNumber = 0;
    PluChain chain(run, false);
    int number = 0;
    std::string line;
    while (run.readLine(line)) {
        if (!lineHasPrefix(line, "PLU")) continue;
        PluRecord record = pluFromLine(line, run.settings.charsetMode);
        record.sendable = record.sendable && !run.lineUnsendable();
        chain.add(++number, record);
    }
    chain.finish();
}

void loadPluFromTable(Run& run) {
    if (run.table == nullptr) return;
    ProductTable& table = *run.table;
    run.currentItemNumber = 0;
    table.rewind();
    const std::uint32_t total = table.recordCount();
    PluChain chain(run, true);
    std::vector<std::uint8_t> buffer;
    std::uint32_t read = 0;
    bool fileEndedEarly = false;
    while (read < total) {
        buffer.assign(ProductTable::kMaxRecordSize, 0);
        // The header may count more records than the file holds: the table ends where the
        // records end, and the last one read closes the transaction.
        if (table.readRecord(buffer) != 0) {
            fileEndedEarly = true;
            break;
        }
        ++read;
        run.progress(read, total);
        const PluRecord record = pluFromTable(table, buffer, run.settings.charsetMode);
        const bool moved = table.nextRecord() == 0;
        chain.add(static_cast<int>(read), record);
        if (!moved && read < total) {
            fileEndedEarly = true;
            break;
        }
    }
    chain.finish();
    if (fileEndedEarly && !chain.ended()) {
        run.currentItemNumber = static_cast<int>(read) + 1;
        run.currentItemCode.clear();
        run.report(kBadFileData);
    }
}

}  // namespace lorvex
