#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "link/register_link.h"
#include "platform/console.h"
#include "text/charset.h"

namespace lorvex {

// The numbered Polish message of a status, letters in the mode's encoding, ending in a line feed.
std::string statusMessage(StatusCode code, int itemNumber, std::string_view itemCode,
                          CharsetMode mode);

// One status the error log reported, for a caller's result.
struct StatusEntry {
    int line = 0;  // the exchange-file line it concerns; 0 for none
    int item = 0;  // the item number the run had reached; 0 for none
    std::string code;
    int number = 0;       // the number its message starts with, as error.orv shows it
    std::string message;  // the message in UTF-8 with its Polish letters, without the line end
};

// The error log "error.orv": created on the first nonzero status of the run, one message a line,
// echoed as "er=..." on the console when a trace level is set.
class StatusLog {
  public:
    // With `utf8File` the messages (built in the mode's letters) are written to the file as UTF-8.
    StatusLog(std::filesystem::path path, CharsetMode mode, int traceLevel, Console& console,
              bool utf8File = false);
    ~StatusLog();
    StatusLog(const StatusLog&) = delete;
    StatusLog& operator=(const StatusLog&) = delete;

    // `line` is kept with the entry only: the file's message stays as it always was.
    void report(StatusCode code, int itemNumber, std::string_view itemCode, int line = 0);
    void close();
    // Every status reported so far, in order.
    const std::vector<StatusEntry>& entries() const { return entries_; }

  private:
    void writeLine(const std::string& line);

    std::filesystem::path path_;
    CharsetMode mode_;
    int traceLevel_;
    Console& console_;
    bool utf8File_ = false;
    std::FILE* file_ = nullptr;
    std::vector<StatusEntry> entries_;
};

}  // namespace lorvex
