#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "link/register_link.h"
#include "platform/console.h"
#include "text/charset.h"

namespace lorvex {

// The numbered Polish message of a status, letters in the mode's encoding, ending in a line feed.
std::string statusMessage(StatusCode code, int itemNumber, std::string_view itemCode,
                          CharsetMode mode);

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

    void report(StatusCode code, int itemNumber, std::string_view itemCode);
    void close();

  private:
    void writeLine(const std::string& line);

    std::filesystem::path path_;
    CharsetMode mode_;
    int traceLevel_;
    Console& console_;
    bool utf8File_ = false;
    std::FILE* file_ = nullptr;
};

}  // namespace lorvex
