#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/exchange_reader.h"
#include "core/exchange_writer.h"
#include "core/settings.h"
#include "link/register_link.h"
#include "link/status_log.h"
#include "platform/clock.h"
#include "platform/console.h"

namespace lorvex {

class ProductTable;

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

    // Stores the status and writes its message to the error log (nothing for 0).
    void report(StatusCode code) {
        lastStatus = code;
        log.report(code, currentItemNumber, currentItemCode);
    }
    // Shows the text when the trace level is at least `level`.
    void trace(int level, std::string_view text, TextEncoding encoding = TextEncoding::Ascii) {
        if (settings.traceLevel >= level) console.print(text, encoding);
    }
    void pause(std::uint32_t ms) { clock.sleepMs(ms); }
    // The next line of the exchange file (load); false at its end or when there is none.
    bool readLine(std::string& line) { return reader != nullptr && reader->readLine(line); }
    // Appends to the exchange file (dump).
    void write(std::string_view text) {
        if (writer != nullptr) writer->write(text);
    }
    bool dumping() const { return settings.direction == Direction::Dump; }
};

}  // namespace lorvex
