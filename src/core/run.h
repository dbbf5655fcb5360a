#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/exchange_reader.h"
#include "core/exchange_writer.h"
#include "core/progress.h"
#include "core/settings.h"
#include "link/register_link.h"
#include "link/status_log.h"
#include "platform/clock.h"
#include "platform/console.h"

namespace lorvex {

class ProductTable;

// What a run did, for a caller that reads its result.
struct RunCounts {
    int linesRead = 0;       // exchange-file lines a load read
    int recordsSent = 0;     // records handed to the register
    int recordsRefused = 0;  // records the register answered with a status other than 0
    int notTried = 0;        // items or lines a job gave up without asking the register
    int linesWritten = 0;    // exchange-file lines or table records a dump wrote
};

// The state of one run, handed to every record, goods and report operation.
struct Run {
    const Settings& settings;
    Console& console;
    Clock& clock;
    RegisterLink& link;
    StatusLog& log;
    // The text exchange file: read by a load, written by a dump; both null in product-table
    // mode and for a job that writes no file.
    ExchangeReader* reader = nullptr;
    ExchangeWriter* writer = nullptr;
    ProductTable* table = nullptr;  // the product table in product-table mode, else null

    // Named in the messages of the error log.
    int currentItemNumber = 0;
    std::string currentItemCode;
    StatusCode lastStatus = 0;
    // The exchange-file line being loaded (1-based; 0 before the first and in a dump).
    int currentLine = 0;
    RunCounts counts;
    // The register stopped answering (see DeadLineGuard): nothing more is sent to it, and a dump
    // leaves the user's earlier file as it was.
    bool lineDead = false;
    // The progress line on a terminal's stderr, erased when the run ends.
    Progress progressLine{console, clock};

    // Stores the status and writes its message to the error log (nothing for 0).
    void report(StatusCode code) {
        lastStatus = code;
        log.report(code, currentItemNumber, currentItemCode, currentLine);
    }
    // Shows the text when the trace level is at least `level`.
    void trace(int level, std::string_view text, TextEncoding encoding = TextEncoding::Ascii) {
        if (settings.traceLevel >= level) console.print(text, encoding);
    }
    void pause(std::uint32_t ms) { clock.sleepMs(ms); }
    // `done` of the job's `total` items.
    void progress(std::uint64_t done, std::uint64_t total) { progressLine.update(done, total); }
    // The next line of the exchange file (load); false at its end or when there is none.
    bool readLine(std::string& line) {
        if (reader == nullptr || !reader->readLine(line)) return false;
        ++currentLine;
        ++counts.linesRead;
        progressLine.update(reader->bytesTaken(), reader->size(), Progress::Unit::Bytes);
        return true;
    }
    // The line being loaded holds what the register cannot carry: a load reports it, sends nothing.
    bool lineUnsendable() const { return reader != nullptr && reader->lineUnsendable(); }
    // Appends to the exchange file (dump).
    void write(std::string_view text) {
        if (writer == nullptr) return;
        writer->write(text);
        ++counts.linesWritten;
    }
    // Counts a record handed to the register with the status it got back.
    void countRecord(StatusCode status) {
        ++counts.recordsSent;
        if (status != 0 && status != kNoAnswer && status != kLinkLost) ++counts.recordsRefused;
    }
    bool dumping() const { return settings.direction == Direction::Dump; }
};

}  // namespace lorvex
