#include "app/all_settings_job.h"

#include <array>
#include <string>

#include "goods/departments.h"
#include "records/cards.h"
#include "records/cashier_format.h"
#include "records/cashiers.h"
#include "records/discounts.h"
#include "records/fiscal_ids.h"
#include "records/flags.h"
#include "records/halo.h"
#include "records/header_footer.h"
#include "text/fields.h"

namespace lorvex {
namespace {

constexpr std::uint32_t kGroupPauseMs = 100;
constexpr std::uint32_t kLinePauseMs = 1000;
constexpr std::uint32_t kHeaderPauseMs = 1000;
constexpr std::uint32_t kCardPauseMs = 100;

void dumpAll(Run& run) {
    std::string text;
    StatusCode status = transferFooter(run, Direction::Dump, text);
    // A register that does not answer at all would make every other request wait for nothing.
    if (status < 0) {
        run.report(status);
        return;
    }
    run.pause(kGroupPauseMs);
    status = transferHeader(run, Direction::Dump, text);
    run.pause(kGroupPauseMs);
    for (int number = 1; number <= kDepartmentCount; ++number) status = dumpDepartment(run, number);
    run.pause(kGroupPauseMs);
    if (run.settings.solvekFamily) {
        std::array<int, 9> values;
        values.fill(1);
        status = transferSolvekFlags(run, Direction::Dump, values);
    } else {
        std::array<int, 7> values;
        values.fill(1);
        status = transferFlags(run, Direction::Dump, values);
    }
    run.pause(kGroupPauseMs);
    HaloTable amounts{};
    status = transferHalo(run, Direction::Dump, amounts);
    run.pause(kGroupPauseMs);
    DiscountSettings discounts;
    discounts.fill(1.0);
    status = transferDiscounts(run, Direction::Dump, discounts);
    run.pause(kGroupPauseMs);
    for (int slot = 1; slot <= kDirectCodeSlots; ++slot) {
        long long code = 0;
        status = transferDirectCode(run, Direction::Dump, slot, code);
    }
    run.pause(kGroupPauseMs);
    VatRates rates{};
    status = readVatRates(run, rates);
    run.pause(kGroupPauseMs);
    status = readUniNumber(run);
    run.pause(kGroupPauseMs);
    status = readNipNumber(run);
    run.pause(kGroupPauseMs);
    const int lastCashier = run.settings.solvekFamily ? kLastCashier : kLastOrvexCashier;
    for (int number = 0; number <= lastCashier; ++number) {
        std::string name;
        std::string code;
        status = transferCashier(run, Direction::Dump, number, name, code);
    }
    if (run.settings.solvekFamily) {
        run.pause(kGroupPauseMs);
        status = transferDiscountCard(run, Direction::Dump, 0, DiscountCard{});
    }
    run.report(status);
}

// One line of the all-settings load: every record whose prefix starts the line. True when a
// record was sent.
bool loadLine(Run& run, std::string_view line) {
    bool sent = false;
    const auto handle = [&](const LineResult& read) {
        const LineResult result = loaded(run, read);
        if (result.kind == LineResult::Skipped) return false;
        run.report(result.status);
        sent = sent || result.kind == LineResult::Sent;
        return result.kind == LineResult::Sent;
    };
    handle(loadFooterLine(run, line));
    if (handle(loadHeaderLine(run, line))) run.pause(kHeaderPauseMs);
    handle(loadCashierLine(run, line, CashierCodeRule::NonZero));
    handle(loadDepartmentLine(run, line));
    handle(loadFlagsLine(run, line));
    handle(loadSolvekFlagsLine(run, line));
    handle(loadHaloLine(run, line));
    handle(loadDiscountsLine(run, line));
    if (handle(loadDiscountCardLine(run, line))) run.pause(kCardPauseMs);
    handle(loadDirectCodeLine(run, line, DirectCodeRule::PositiveOnly));
    return sent;
}

void loadAll(Run& run) {
    std::string line;
    while (run.readLine(line)) {
        ++run.currentItemNumber;
        if (run.settings.traceLevel >= 1) {
            run.trace(1, line + '\n', consoleEncoding(run.settings.charsetMode));
        }
        // The register is given time after every record; a line that sent nothing needs none.
        if (loadLine(run, line)) run.pause(kLinePauseMs);
    }
}

}  // namespace

void allSettingsJob(Run& run) {
    if (run.dumping()) {
        dumpAll(run);
    } else {
        loadAll(run);
    }
}

}  // namespace lorvex
