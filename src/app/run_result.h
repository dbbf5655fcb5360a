#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/run.h"
#include "core/settings.h"
#include "link/status_log.h"
#include "platform/console.h"

namespace lorvex {

// What a run did, as the /J file tells it to the program that started lorvex
// (docs/RESULT.md, docs/lorvex-result.schema.json).
struct RunResult {
    std::optional<std::string> job;  // the /C letter; none when a screen was shown instead
    Direction direction = Direction::Dump;
    std::string port;  // the port as opened; empty when none was tried
    std::string file;  // the /F file as found; empty when none was tried
    int exitCode = 0;
    RunCounts counts;
    std::vector<StatusEntry> statuses;
    std::string reason;        // the system's reason when the port or the file failed
    std::int64_t started = 0;  // wall clock, milliseconds since 1970 UTC
    std::uint64_t durationMs = 0;
};

// "ok", "partial", "no_answer" or "failed".
std::string runOutcome(const RunResult& result);

// The result as one JSON object in UTF-8, ending in a line feed.
std::string resultJson(const RunResult& result);

// Replaces the file with the result in one step. False, with the reason on stderr, when it
// cannot be written (the earlier file is kept).
bool writeRunResult(const std::filesystem::path& path, const RunResult& result, Console& console);

}  // namespace lorvex
