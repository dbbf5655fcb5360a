#include "records/jobs.h"

#include <array>
#include <string>

#include "core/dead_line.h"
#include "core/load_loop.h"

#include "records/cards.h"
#include "records/cashier_format.h"
#include "records/cashiers.h"
#include "records/discounts.h"
#include "records/fiscal_ids.h"
#include "records/flags.h"
#include "records/halo.h"
#include "records/header_footer.h"

namespace lorvex {
namespace {

constexpr std::uint32_t kRecordPauseMs = 100;

}  // namespace

void flagsJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadFlagsLine);
    std::array<int, 7> values;
    values.fill(1);
    run.report(transferFlags(run, Direction::Dump, values));
}

void solvekFlagsJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadSolvekFlagsLine);
    std::array<int, 9> values;
    values.fill(1);
    run.report(transferSolvekFlags(run, Direction::Dump, values));
}

void headerJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadHeaderLine);
    std::string text;
    run.report(transferHeader(run, Direction::Dump, text));
}

void footerJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadFooterLine);
    std::string text;
    run.report(transferFooter(run, Direction::Dump, text));
}

void cashierJob(Run& run) {
    if (!run.dumping()) {
        return loadEveryLine(run, {.echoLines = true}, [](Run& r, std::string_view line) {
            return loadCashierLine(r, line, CashierCodeRule::PositiveOnly);
        });
    }
    // Every cashier is read whatever the others gave; only the last status is reported.
    const int last = run.settings.solvekFamily ? kLastCashier : kLastOrvexCashier;
    DeadLineGuard guard(run, "cashiers");
    StatusCode status = 0;
    for (int number = 0; number <= last; ++number) {
        std::string name;
        std::string code;
        status = transferCashier(run, Direction::Dump, number, name, code);
        run.progress(number + 1, last + 1);
        if (!guard.note(status, last - number)) return;
    }
    run.report(status);
}

void haloJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadHaloLine);
    HaloTable amounts{};
    run.report(transferHalo(run, Direction::Dump, amounts));
}

void discountsJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadDiscountsLine);
    DiscountSettings values;
    values.fill(1.0);
    run.report(transferDiscounts(run, Direction::Dump, values));
}

void directCodeJob(Run& run) {
    if (!run.dumping()) {
        return loadEveryLine(run, {}, [](Run& r, std::string_view line) {
            return loadDirectCodeLine(r, line, DirectCodeRule::ZeroClears);
        });
    }
    // The first slot the register refuses ends the table.
    DeadLineGuard guard(run, "direct codes");
    for (int slot = 1; slot <= kDirectCodeSlots; ++slot) {
        long long code = 0;
        const StatusCode status = transferDirectCode(run, Direction::Dump, slot, code);
        run.progress(slot, kDirectCodeSlots);
        if (!guard.reportUntilFailure(status, kDirectCodeSlots - slot)) break;
    }
}

void vatRatesJob(Run& run) {
    if (!run.dumping()) {
        // The rates are the register's fiscal settings: read here, never written.
        std::string line;
        while (run.readLine(line)) {
        }
        return;
    }
    VatRates rates{};
    run.report(readVatRates(run, rates));
}

void discountCardJob(Run& run) {
    if (!run.dumping()) {
        return loadEveryLine(run, {.countItems = true, .pauseMs = kRecordPauseMs},
                             loadDiscountCardLine);
    }
    run.report(transferDiscountCard(run, Direction::Dump, 0, DiscountCard{}));
}

void linkedCodeJob(Run& run) {
    if (!run.dumping()) {
        return loadEveryLine(run, {.countItems = true, .pauseMs = kRecordPauseMs},
                             loadLinkedCodeLine);
    }
    run.report(transferLinkedCode(run, Direction::Dump, LinkedCode{}));
}

}  // namespace lorvex
