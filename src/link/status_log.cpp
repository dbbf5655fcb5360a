#include "link/status_log.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "platform/codepages.h"
#include "platform/files.h"
#include "text/format.h"

namespace lorvex {

namespace {

// Binary mode: the exact bytes and LF line ends on every platform.
std::FILE* createLog(const std::filesystem::path& path) {
    return openFile(path, "wb+");
}

// How the console reads a message. The plain letters of /S3 keep one byte above ASCII, the o
// with an acute accent (0xA2), which reads the same in code page 852 as in Mazovia.
TextEncoding echoEncoding(CharsetMode mode) {
    return mode == CharsetMode::None ? TextEncoding::Cp852 : consoleEncoding(mode);
}

}  // namespace

StatusLog::StatusLog(std::filesystem::path path, CharsetMode mode, int traceLevel, Console& console,
                     bool utf8File)
    : path_(std::move(path)),
      mode_(mode),
      traceLevel_(traceLevel),
      console_(console),
      utf8File_(utf8File) {}

StatusLog::~StatusLog() {
    close();
}

void StatusLog::report(StatusCode code, int itemNumber, std::string_view itemCode, int line) {
    if (code == 0) return;
    // Code page 852 holds every letter of the messages, whatever /S chose for the file.
    std::string text =
        toUtf8(statusMessage(code, itemNumber, itemCode, CharsetMode::Latin), TextEncoding::Cp852);
    text.pop_back();
    const int number = std::atoi(text.c_str());
    entries_.push_back({line, itemNumber, std::string(itemCode.substr(0, itemCode.find('\0'))),
                        number, std::move(text)});
    if (file_ == nullptr) {
        // A log that could not be created is tried again at the next status.
        file_ = createLog(path_);
        if (file_ != nullptr && code > 3) {
            const PolishLetterRow& row = polishLetters(mode_);
            const std::string notice =
                format("99  Uwaga! wszystkie b%c%cdy zapisano w pliku: error.orv\n",
                       static_cast<int>(row[kSmallL]), static_cast<int>(row[kSmallE]));
            writeLine(notice);
        }
    }
    const std::string message = statusMessage(code, itemNumber, itemCode, mode_);
    if (file_ != nullptr) {
        writeLine(message);
        // On disk at once: a run cut short still leaves what went wrong.
        std::fflush(file_);
    }
    if (traceLevel_ != 0) console_.print("er=" + message + "\n", echoEncoding(mode_));
}

void StatusLog::writeLine(const std::string& line) {
    const std::string bytes = utf8File_ ? toUtf8(line, TextEncoding::Cp852) : line;
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
}

void StatusLog::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

}  // namespace lorvex
