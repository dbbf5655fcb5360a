#include "goods/plu_dump.h"

#include "core/answer_reader.h"
#include "goods/plu_goods.h"
#include "goods/product_table.h"
#include "text/fields.h"
#include "text/format.h"

namespace lorvex {
namespace {

// The register needs a rest after answering a whole range.
constexpr std::uint32_t kPauseAfterRangeMs = 5000;

// False when the product table could not be written.
bool writeGood(Run& run, const DumpedPlu& plu) {
    if (run.table != nullptr) {
        return appendGoodsRecord(run, pluProductRecord(plu));
    }
    run.write(pluLine(plu));
    return true;
}

}  // namespace

StatusCode dumpPluGoods(Run& run) {
    StatusCode firstLinkFailure = 0;
    double lastWrittenCode = 0;
    const std::vector<std::string> requests =
        pluDumpRequests(run.settings.largePluNumbers, run.settings.skipEanCheck);
    std::size_t rangesDone = 0;
    for (const std::string& request : requests) {
        run.trace(1, request + "\n");
        AnswerReader reader(run, request);
        do {
            const StatusCode received = reader.receive();
            run.trace(1, format("%d\n", received));
            if (received != 0) {
                // This range is lost; the others are still asked for, and the loss is reported.
                if (firstLinkFailure == 0) firstLinkFailure = received;
                break;
            }
            const std::string_view answer = reader.text();
            if (reader.kind() == AnswerKind::Error) {
                return firstLinkFailure != 0 ? firstLinkFailure : errorAnswerStatus(answer);
            }
            traceAnswer(run, answer);
            if (reader.kind() == AnswerKind::Data) {
                run.link.showProgress();
                const DumpedPlu plu = pluFromAnswer(answer, run.settings.charsetMode);
                const auto first =
                    static_cast<unsigned char>(plu.record.name.empty() ? '\0' : plu.record.name[0]);
                // A block without a name is an empty slot; one with the code just written is the
                // register repeating itself.
                if (first > ' ' && plu.record.code != lastWrittenCode) {
                    if (!writeGood(run, plu)) return kOpenFailed;
                    lastWrittenCode = plu.record.code;
                    traceAnswer(run, answer);
                }
                run.trace(1, format("%13.0f,%13.0f\n", lastWrittenCode, plu.record.code));
            }
        } while (reader.more());
        if (reader.cutShort() && firstLinkFailure == 0) firstLinkFailure = kLinkLost;
        run.progress(++rangesDone, requests.size());
        run.pause(kPauseAfterRangeMs);
    }
    return firstLinkFailure;
}

}  // namespace lorvex
