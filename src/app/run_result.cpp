#include "app/run_result.h"

#include <chrono>
#include <nlohmann/json.hpp>

#include "core/exchange_writer.h"
#include "core/status.h"
#include "text/format.h"

#ifndef LORVEX_VERSION
#error "LORVEX_VERSION comes from project(VERSION) in CMakeLists.txt"
#endif

namespace lorvex {
namespace {

using Json = nlohmann::ordered_json;

// "2026-01-01T00:00:00Z": ISO 8601 in UTC, to the second.
std::string isoTime(std::int64_t ms) {
    using namespace std::chrono;
    const sys_seconds seconds{floor<std::chrono::seconds>(milliseconds(ms))};
    const sys_days day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss time{seconds - day};
    return format("%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
}

Json textOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

Json numberOrNull(int number) {
    return number == 0 ? Json(nullptr) : Json(number);
}

// The number error.orv gives a register that never answered.
constexpr int kNoConnectionNumber = 60;

}  // namespace

std::string runOutcome(const RunResult& result) {
    if (result.exitCode != kExitDone) return "failed";
    if (result.statuses.empty()) return "ok";
    // Only "no connection" reported, nothing written and no record answered.
    std::size_t unanswered = 0;
    for (const StatusEntry& entry : result.statuses) {
        if (entry.number == kNoConnectionNumber) ++unanswered;
    }
    const bool nothingCame = result.counts.linesWritten == 0 &&
                             static_cast<std::size_t>(result.counts.recordsSent) <= unanswered;
    return unanswered == result.statuses.size() && nothingCame ? "no_answer" : "partial";
}

std::string resultJson(const RunResult& result) {
    Json statuses = Json::array();
    for (const StatusEntry& entry : result.statuses) {
        statuses.push_back({{"line", numberOrNull(entry.line)},
                            {"item", numberOrNull(entry.item)},
                            {"code", entry.code},
                            {"status", entry.number},
                            {"message", entry.message}});
    }
    const RunCounts& counts = result.counts;
    const Json json = {
        {"program", "lorvex"},
        {"version", LORVEX_VERSION},
        {"job", result.job ? Json(*result.job) : Json(nullptr)},
        {"direction", result.direction == Direction::Load ? "load" : "dump"},
        {"port", textOrNull(result.port)},
        {"file", textOrNull(result.file)},
        {"exit_code", result.exitCode},
        {"outcome", runOutcome(result)},
        {"started", isoTime(result.started)},
        {"duration_ms", result.durationMs},
        {"counts",
         {{"lines_read", counts.linesRead},
          {"records_sent", counts.recordsSent},
          {"records_refused", counts.recordsRefused},
          {"not_tried", counts.notTried},
          {"lines_written", counts.linesWritten}}},
        {"statuses", statuses},
        {"reason", textOrNull(result.reason)},
    };
    // Names on POSIX are bytes: any that are not UTF-8 come out as U+FFFD.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool writeRunResult(const std::filesystem::path& path, const RunResult& result, Console& console) {
    const std::unique_ptr<ExchangeWriter> writer = ExchangeWriter::open(path);
    FileResult written{"it cannot be created here"};
    if (writer) {
        writer->write(resultJson(result));
        written = writer->commit();
    }
    if (written.ok()) return true;
    const std::u8string name = path.u8string();
    console.error("lorvex: cannot write the result file " + std::string(name.begin(), name.end()) +
                  ": " + written.failure);
    return false;
}

}  // namespace lorvex
