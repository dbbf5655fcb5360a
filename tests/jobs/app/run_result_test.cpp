// /J: the run's result as JSON for the program that started lorvex.

#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "jobs/job_texts.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

using Json = nlohmann::json;

TEST(RunResult, TellsTheCallerWhatTheRunDid) {
    const struct {
        std::string args;
        std::function<void(JobHarness&)> setUp;
        const char* expected;  // these keys, exactly
    } cases[] = {
        // The second line cannot be sent, the third is refused; /S3 writes error.orv without
        // Polish letters, the result has them all the same.
        {"/CY /L /FL.TXT /S3",
         [](JobHarness& h) {
             h.file("L.TXT", "KDW42,77\nKDW1,12345678901234567890\nKDW59002741,77\n");
             h.faults().errorAt('h', 2, 7);
         },
         R"({"job": "Y", "direction": "load", "exit_code": 0, "outcome": "partial",
             "counts": {"lines_read": 3, "records_sent": 2, "records_refused": 1,
                        "not_tried": 0, "lines_written": 0},
             "statuses": [
               {"line": 2, "item": 2, "code": "", "status": 63, "message": "63  Złe dane w pliku"},
               {"line": 3, "item": 3, "code": "", "status": 7,
                "message": "07  Przekroczona wartość numeryczna - 3, kod: "}],
             "reason": null})"},
        // Goods go one step behind the reading: each status still names its own line.
        {"/CH /L /FL.TXT",
         [](JobHarness& h) {
             h.file("L.TXT",
                    "PLU1,A,4.5,C,1,00000,1,0,0\nPLU2,B,1,C,1,00000,100,0,0\n"
                    "PLU3,C,4.5,C,1,00000,1,0,0\nKONIEC\n");
             h.faults().errorAt('I', 2, 20);
         },
         R"({"counts": {"lines_read": 4, "records_sent": 2, "records_refused": 1,
                        "not_tried": 0, "lines_written": 0},
             "statuses": [{"line": 2, "item": 2, "code": "            2", "status": 63,
                           "message": "63  Złe dane w pliku"},
                          {"line": 1, "item": 1, "code": "            1", "status": 20,
                           "message": "20  Tandem nie istnieje - 1, kod:             1"}]})"},
        {"/CD /FKAS.TXT", [](JobHarness&) {},
         R"({"direction": "dump", "outcome": "ok", "statuses": [],
             "counts": {"lines_read": 0, "records_sent": 0, "records_refused": 0,
                        "not_tried": 0, "lines_written": 8}})"},
        {"/CD", [](JobHarness& h) { h.faults().add(sim::Fault::silence()); },
         R"({"exit_code": 0, "outcome": "no_answer", "statuses": [{"line": null, "item": null,
             "code": "", "status": 60, "message": "60 Brak połączenia lub zła pozycja kluczyka"}]})"},
        {"/CD", [](JobHarness& h) { h.portFails = true; },
         R"({"exit_code": 1, "outcome": "failed", "port": "COM1", "reason": "no such device",
             "statuses": [{"line": null, "item": null, "code": "", "status": 61,
                           "message": "61  Błąd otwarcia pliku"}]})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        JobHarness harness;
        c.setUp(harness);
        const JobResult run = harness.run(split(c.args + " /Jresult.json"));
        const Json result = Json::parse(run.file("RESULT.JSON"));
        const Json expected = Json::parse(c.expected);
        for (const auto& [key, value] : expected.items()) EXPECT_EQ(result[key], value) << key;
        EXPECT_EQ(result["exit_code"], run.exitCode);
        EXPECT_EQ(result["started"], "2026-01-01T00:00:00Z");
        EXPECT_EQ(result["duration_ms"], run.virtualMs);
    }
}

}  // namespace
}  // namespace lorvex::test
