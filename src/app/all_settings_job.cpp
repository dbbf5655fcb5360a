#include "app/all_settings_job.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/dead_line.h"
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

// One group of the all-settings dump: `count` requests, the i-th asked by ask(run, i).
struct DumpGroup {
    int count;
    std::function<StatusCode(Run&, int)> ask;
};

std::vector<DumpGroup> dumpGroups(bool solvek) {
    std::vector<DumpGroup> groups{
        {1,
         [](Run& r, int) {
             std::string text;
             return transferHeader(r, Direction::Dump, text);
         }},
        {kDepartmentCount, [](Run& r, int i) { return dumpDepartment(r, i + 1); }},
        {1,
         [solvek](Run& r, int) {
             if (solvek) {
                 std::array<int, 9> values;
                 values.fill(1);
                 return transferSolvekFlags(r, Direction::Dump, values);
             }
             std::array<int, 7> values;
             values.fill(1);
             return transferFlags(r, Direction::Dump, values);
         }},
        {1,
         [](Run& r, int) {
             HaloTable amounts{};
             return transferHalo(r, Direction::Dump, amounts);
         }},
        {1,
         [](Run& r, int) {
             DiscountSettings discounts;
             discounts.fill(1.0);
             return transferDiscounts(r, Direction::Dump, discounts);
         }},
        {kDirectCodeSlots,
         [](Run& r, int i) {
             long long code = 0;
             return transferDirectCode(r, Direction::Dump, i + 1, code);
         }},
        {1,
         [](Run& r, int) {
             VatRates rates{};
             return readVatRates(r, rates);
         }},
        {1, [](Run& r, int) { return readUniNumber(r); }},
        {1, [](Run& r, int) { return readNipNumber(r); }},
        {(solvek ? kLastCashier : kLastOrvexCashier) + 1,
         [](Run& r, int i) {
             std::string name;
             std::string code;
             return transferCashier(r, Direction::Dump, i, name, code);
         }},
    };
    if (solvek) {
        groups.push_back({1, [](Run& r, int) {
                              return transferDiscountCard(r, Direction::Dump, 0, DiscountCard{});
                          }});
    }
    return groups;
}

void dumpAll(Run& run) {
    const std::vector<DumpGroup> groups = dumpGroups(run.settings.solvekFamily);
    int left = 0;
    for (const DumpGroup& group : groups) left += group.count;
    DeadLineGuard guard(run, "requests");
    std::string text;
    StatusCode status = transferFooter(run, Direction::Dump, text);
    // A register that does not answer at all would make every other request wait for nothing.
    if (status == kNoAnswer) {
        guard.reportUntilFailure(status, left);
        return;
    }
    for (const DumpGroup& group : groups) {
        run.pause(kGroupPauseMs);
        for (int i = 0; i < group.count; ++i) {
            status = group.ask(run, i);
            if (!guard.note(status, --left)) return;
        }
    }
    run.report(status);
}

// One line of the all-settings load: every record whose prefix starts the line. True when a
// record was sent.
bool loadLine(Run& run, DeadLineGuard& guard, std::string_view line) {
    bool sent = false;
    const auto handle = [&](const LineResult& read) {
        const LineResult result = loaded(run, read);
        if (result.kind == LineResult::Skipped) return false;
        if (guard.dead()) {
            // Once the line is dead the records are only counted.
            sent = sent || result.status == kNotTried;
            return false;
        }
        guard.report(result.status, result.kind == LineResult::Sent);
        sent = sent || result.kind == LineResult::Sent;
        return result.kind == LineResult::Sent && !guard.dead();
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
    DeadLineGuard guard(run, "lines");
    int notTried = 0;
    std::string line;
    while (run.readLine(line)) {
        if (guard.dead()) {
            notTried += loadLine(run, guard, line) ? 1 : 0;
            continue;
        }
        ++run.currentItemNumber;
        if (run.settings.traceLevel >= 1) {
            run.trace(1, line + '\n', consoleEncoding(run.settings.charsetMode));
        }
        // The register is given time after every record; a line that sent nothing needs none.
        if (loadLine(run, guard, line) && !guard.dead()) run.pause(kLinePauseMs);
    }
    if (guard.dead()) guard.giveUp(notTried);
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
