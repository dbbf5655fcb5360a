#include "reports/jobs.h"

#include "core/dead_line.h"
#include "reports/plu_reports.h"
#include "reports/totals.h"

namespace lorvex {
namespace {

// Reads items first..last, reporting each, and stops at the first that fails: a department,
// hour or cashier the register refuses ends the report.
template <class Read>
void readLoop(Run& run, int first, int last, std::string_view items, Read read) {
    DeadLineGuard guard(run, items);
    for (int item = first; item <= last; ++item) {
        const StatusCode status = read(run, run.settings.reportMode, item);
        run.progress(item - first + 1, last - first + 1);
        if (!guard.reportUntilFailure(status, last - item)) break;
    }
}

StatusCode packagingReport(Run& run) {
    const bool large = run.settings.largePluNumbers;
    return readPackagingReport(run, run.settings.reportMode, large ? "99999" : "9999",
                               large ? 1 : 0);
}

}  // namespace

void registerReportJob(Run& run) {
    if (run.dumping()) run.report(readRegisterReport(run, run.settings.reportMode));
}

void departmentReportJob(Run& run) {
    if (run.dumping()) readLoop(run, 1, 42, "departments", readDepartmentReport);
}

void hourlyReportJob(Run& run) {
    if (run.dumping() && !run.settings.skipHourlyReport)
        readLoop(run, 0, 23, "hours", readHourlyReport);
}

void cashierReportJob(Run& run) {
    if (run.dumping()) readLoop(run, 0, 29, "cashiers", readCashierReport);
}

void dailyReportJob(Run& run) {
    if (run.dumping()) run.report(readDailyReport(run, run.settings.reportMode));
}

void cashReportJob(Run& run) {
    if (run.dumping()) run.report(readCashReport(run, run.settings.reportMode));
}

void cardReportJob(Run& run) {
    if (run.dumping()) run.report(readCardReport(run, run.settings.reportMode));
}

// In product-table mode the table gets the PLU sales first and the packaging after them.
void pluSalesReportJob(Run& run) {
    if (!run.dumping()) return;
    run.report(readPluSalesReport(run, run.settings.reportMode));
    if (run.table != nullptr) run.report(packagingReport(run));
}

void packagingReportJob(Run& run) {
    if (run.dumping()) run.report(packagingReport(run));
}

// Runs in either direction and writes nothing. The digit itself is kept nowhere; a register
// that does not answer is still reported, so a dead line does not pass for a done job.
void stateDigitJob(Run& run) {
    const StateAnswer answer = readStateDigit(run);
    if (answer.status != 0) run.report(answer.status);
}

}  // namespace lorvex
