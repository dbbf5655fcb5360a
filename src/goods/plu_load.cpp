#include "goods/plu_load.h"

#include <optional>
#include <string>
#include <vector>

#include "goods/product_table.h"
#include "text/fields.h"

namespace lorvex {
namespace {

constexpr std::uint32_t kPauseAfterRecordMs = 10;
constexpr std::uint32_t kPauseAfterEraseMs = 1000;

struct Item {
    int number = 0;
    PluRecord record;
};

// Feeds goods into load transactions one step behind the reading, so the last good sent is
// known to be the last and closes its transaction. Goods that do not fit their record are
// reported and left out without disturbing the positions of the others; their reports wait for
// the good read before them, so the error log keeps the order of the file.
class PluChain {
  public:
    PluChain(Run& run, bool stopAtFailure) : run_(run), stopAtFailure_(stopAtFailure) {}

    // False once a refused good ends the load.
    bool add(int number, const PluRecord& record) {
        if (stopped_) return false;
        if (!pluRecordText(run_.settings.recordAction, record)) {
            if (pending_) {
                held_.push_back({number, record});
            } else {
                report(number, record.code, kBadFileData);
            }
            return true;
        }
        if (pending_) send(open_ ? RecordPosition::Middle : RecordPosition::First);
        if (stopped_) return false;
        pending_ = Item{number, record};
        return true;
    }

    // Sends the good still waiting as the last of its transaction.
    void finish() {
        if (pending_ && !stopped_) send(open_ ? RecordPosition::Last : RecordPosition::Only);
    }

    bool stopped() const { return stopped_; }

  private:
    void send(RecordPosition position) {
        const StatusCode status = loadPluRecord(run_, position, pending_->record);
        // A refused good ends the transaction on both sides; the next good opens a new one.
        open_ = status == 0 &&
                (position == RecordPosition::First || position == RecordPosition::Middle);
        report(pending_->number, pending_->record.code, status);
        pending_.reset();
        if (status != 0 && stopAtFailure_) {
            stopped_ = true;
            held_.clear();
            return;
        }
        for (const Item& bad : held_) report(bad.number, bad.record.code, kBadFileData);
        held_.clear();
    }

    void report(int number, double code, StatusCode status) {
        run_.currentItemNumber = number;
        run_.currentItemCode = pluCodeLabel(code);
        run_.report(status);
    }

    Run& run_;
    bool stopAtFailure_;
    bool open_ = false;
    bool stopped_ = false;
    std::optional<Item> pending_;
    std::vector<Item> held_;
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
        chain.add(++number, pluFromLine(line, run.settings.charsetMode));
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
        if (!chain.add(static_cast<int>(read), record)) break;
        if (!moved && read < total) {
            fileEndedEarly = true;
            break;
        }
    }
    chain.finish();
    if (fileEndedEarly && !chain.stopped()) {
        run.currentItemNumber = static_cast<int>(read) + 1;
        run.currentItemCode.clear();
        run.report(kBadFileData);
    }
}

}  // namespace lorvex
