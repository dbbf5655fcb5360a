#include "records/jobs.h"

#include <array>
#include <string>

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

struct LoadLoop {
    bool echoLines = false;     // show every line read at trace level 1
    bool countItems = false;    // number the records for the error log
    std::uint32_t pauseMs = 0;  // after each record sent
};

// Reads the whole exchange file and hands every line to `load`; reports each line that belongs
// to the job.
template <typename Load>
void loadEveryLine(Run& run, const LoadLoop& loop, Load load) {
    std::string line;
    while (run.readLine(line)) {
        if (loop.echoLines && run.settings.traceLevel >= 1) {
            run.trace(1, line + '\n', consoleEncoding(run.settings.charsetMode));
        }
        const LineResult result = load(run, line);
        if (result.kind == LineResult::Skipped) continue;
        if (loop.countItems) ++run.currentItemNumber;
        run.report(result.status);
        if (result.kind == LineResult::Sent && loop.pauseMs > 0) run.pause(loop.pauseMs);
    }
}

void flagsJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadFlagsLine);
    std::array<int, 7> values;
    values.fill(1);
    run.report(transferFlags(run, 0, values));
}

void solvekFlagsJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadSolvekFlagsLine);
    std::array<int, 9> values;
    values.fill(1);
    run.report(transferSolvekFlags(run, 0, values));
}

void headerJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadHeaderLine);
    std::string text;
    run.report(transferHeader(run, 0, text));
}

void footerJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadFooterLine);
    std::string text;
    run.report(transferFooter(run, 0, text));
}

void cashierJob(Run& run) {
    if (!run.dumping()) {
        return loadEveryLine(run, {.echoLines = true}, [](Run& r, std::string_view line) {
            return loadCashierLine(r, line, CashierCodeRule::PositiveOnly);
        });
    }
    // Every cashier is read whatever the others gave; only the last status is reported.
    const int last = run.settings.solvekFamily ? kLastCashier : kLastOrvexCashier;
    StatusCode status = 0;
    for (int number = 0; number <= last; ++number) {
        std::string name;
        std::string code;
        status = transferCashier(run, 0, number, name, code);
    }
    run.report(status);
}

void haloJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadHaloLine);
    HaloTable amounts{};
    run.report(transferHalo(run, 0, amounts));
}

void discountsJob(Run& run) {
    if (!run.dumping()) return loadEveryLine(run, {}, loadDiscountsLine);
    DiscountSettings values;
    values.fill(1.0);
    run.report(transferDiscounts(run, 0, values));
}

void directCodeJob(Run& run) {
    if (!run.dumping()) {
        return loadEveryLine(run, {}, [](Run& r, std::string_view line) {
            return loadDirectCodeLine(r, line, DirectCodeRule::ZeroClears);
        });
    }
    // The first slot the register refuses ends the table.
    for (int slot = 1; slot <= kDirectCodeSlots; ++slot) {
        long long code = 0;
        const StatusCode status = transferDirectCode(run, 0, slot, code);
        run.report(status);
        if (status != 0) break;
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
    run.report(transferDiscountCard(run, 0, 0, DiscountCard{}));
}

void linkedCodeJob(Run& run) {
    if (!run.dumping()) {
        return loadEveryLine(run, {.countItems = true, .pauseMs = kRecordPauseMs},
                             loadLinkedCodeLine);
    }
    run.report(transferLinkedCode(run, 0, LinkedCode{}));
}

constexpr std::array<JobEntry, 11> kRecordJobs = {{
    {'A', flagsJob, false},
    {'B', headerJob, false},
    {'C', footerJob, false},
    {'D', cashierJob, false},
    {'E', haloJob, false},
    {'F', discountsJob, false},
    {'I', directCodeJob, false},
    {'J', vatRatesJob, false},
    {'U', solvekFlagsJob, false},
    {'W', discountCardJob, false},
    {'Y', linkedCodeJob, false},
}};

}  // namespace

std::span<const JobEntry> recordJobs() {
    return kRecordJobs;
}

}  // namespace lorvex
