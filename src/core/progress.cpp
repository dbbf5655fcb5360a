#include "core/progress.h"

#include <string>

#include "text/format.h"

namespace lorvex {
namespace {

std::string minutes(std::uint64_t ms) {
    const std::uint64_t seconds = ms / 1000;
    return format("%llu:%02llu", static_cast<unsigned long long>(seconds / 60),
                  static_cast<unsigned long long>(seconds % 60));
}

}  // namespace

void Progress::update(std::uint64_t done, std::uint64_t total, Unit unit) {
    if (total == 0 || !console_.errorIsTerminal()) return;
    const std::uint64_t now = clock_.nowMs();
    const std::uint64_t elapsed = now - startMs_;
    if (elapsed < kQuietMs || (shown_ && now - drawnMs_ < kRedrawMs)) return;
    if (done > total) done = total;
    std::string line =
        unit == Unit::Items
            ? format("lorvex: %llu/%llu", static_cast<unsigned long long>(done),
                     static_cast<unsigned long long>(total))
            : format("lorvex: %llu%%", static_cast<unsigned long long>(done * 100 / total));
    line += ", " + minutes(elapsed);
    // The rest at the pace so far: nothing to say before the first item is done.
    if (done > 0) line += ", " + minutes(elapsed * (total - done) / done) + " left";
    console_.showProgressLine(line);
    drawnMs_ = now;
    shown_ = true;
}

void Progress::finish() {
    if (shown_) console_.showProgressLine({});
    shown_ = false;
}

}  // namespace lorvex
