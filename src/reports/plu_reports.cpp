#include "reports/plu_reports.h"

#include <string>

#include "core/answer_reader.h"
#include "goods/product_table.h"
#include "reports/plu_records.h"
#include "text/format.h"

namespace lorvex {
namespace {

// Receives the blocks of one transaction opened with `request`, handing each text and the link's
// result to `handle`. The result is the link's failure (-1 or 99), the code of an error answer, or
// 0 when the register ended the transaction.
template <class Handle>
StatusCode receiveBlocks(Run& run, const std::string& request, Handle handle) {
    AnswerReader reader(run, request);
    do {
        const StatusCode received = reader.receive();
        handle(reader.text(), received);
        if (received != 0) return received;
        if (reader.kind() == AnswerKind::Error) return errorAnswerStatus(reader.text());
    } while (reader.more());
    return reader.cutShort() ? kLinkLost : 0;
}

}  // namespace

StatusCode readPluSalesReport(Run& run, int mode) {
    if (mode < 0 || mode > 2) return 0;
    const Settings& settings = run.settings;
    const std::vector<std::string> requests =
        pluSalesRequests(mode, settings.largePluNumbers, settings.skipEanCheck);
    std::size_t rangesDone = 0;
    for (const std::string& request : requests) {
        run.trace(1, "\n****\n" + request + "\n");
        const StatusCode status =
            receiveBlocks(run, request, [&](std::string_view text, StatusCode received) {
                if (settings.traceLevel == 2) {
                    run.console.print(std::string(text) + format(",%d\n", received),
                                      TextEncoding::Cp852);
                }
                if (received != 0 || answerKind(text) != AnswerKind::Data) return;
                run.link.showProgress();
                const PluSalesRecord record = decodePluSales(text, settings.charsetMode);
                run.trace(1, format("%13.0f,%13.13s,%10.3f\n", record.code, record.codeText.c_str(),
                                    record.quantity));
                if (!isSold(record)) return;
                if (run.table != nullptr) {
                    // A failed append is the run's to report: the table knows it failed.
                    appendGoodsRecord(run, pluSalesTableRecord(record));
                } else {
                    run.write(pluSalesLine(record));
                }
            });
        if (status != 0) return status;
        run.progress(++rangesDone, requests.size());
    }
    return 0;
}

StatusCode readPackagingReport(Run& run, int mode, std::string_view rangeEnd, int largePluNumbers) {
    if (mode != 0 && mode != 2) return 0;
    const Settings& settings = run.settings;
    const std::string request =
        packagingRequest(mode, rangeEnd, largePluNumbers != 0, settings.skipEanCheck);
    return receiveBlocks(run, request, [&](std::string_view text, StatusCode received) {
        if (received != 0) return;
        if (settings.traceLevel > 3) {
            run.console.print(">buf=" + std::string(text) + "\n", TextEncoding::Cp852);
        }
        if (answerKind(text) != AnswerKind::Data) return;
        const PackagingRecord record = decodePackaging(text, settings.charsetMode);
        if (!hasMovement(record)) return;
        run.trace(1,
                  format("%f,%s,%s,%d\n", record.netCount(), record.codeText.c_str(),
                         record.name.c_str(), record.department()),
                  consoleEncoding(settings.charsetMode));
        if (run.table != nullptr) {
            // A failed append is the run's to report: the table knows it failed.
            appendGoodsRecord(run, packagingTableRecord(record));
        } else {
            run.write(packagingLine(record));
        }
    });
}

}  // namespace lorvex
