#include "core/exchange_writer.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/codepages.h"
#include "platform/interrupt.h"
#include "platform/system_error.h"

namespace lorvex {
namespace {

namespace fs = std::filesystem;

fs::file_type typeOf(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return error ? fs::file_type::not_found : status.type();
}

// Text files on Windows end their lines in CR LF.
std::string withCrLf(std::string_view text) {
    std::string converted;
    converted.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) converted += '\r';
        converted += text[i];
    }
    return converted;
}

}  // namespace

std::unique_ptr<ExchangeWriter> ExchangeWriter::open(const fs::path& path) {
    const fs::path target = writeTarget(path);
    std::unique_ptr<ExchangeWriter> opened;
    switch (typeOf(target)) {
        case fs::file_type::not_found:
            break;
        case fs::file_type::regular:
            // The file would have refused to open for writing: it is not ours to replace.
            if (!mayWrite(target)) return nullptr;
            break;
        case fs::file_type::character:
            opened.reset(new ExchangeWriter(Mode::Device, target));
            opened->file_ = openFile(target, "wb");
            if (opened->file_ == nullptr) return nullptr;
            return opened;
        default:
            return nullptr;
    }
    TemporaryFile temporary = createTemporaryBeside(target);
    if (temporary.file != nullptr) {
        opened.reset(new ExchangeWriter(Mode::Replace, target));
        opened->file_ = temporary.file;
        opened->tempPath_ = temporary.path;
        setInterruptCleanupPath(opened->tempPath_);
        return opened;
    }
    // The user may write the file but not its directory: it can still be rewritten, though not
    // replaced, and it is left alone until the whole dump is there.
    if (typeOf(target) != fs::file_type::regular) return nullptr;
    opened.reset(new ExchangeWriter(Mode::InPlace, target));
    return opened;
}

ExchangeWriter::~ExchangeWriter() {
    discard();
}

void ExchangeWriter::write(std::string_view text) {
    if (state_ != State::Writing || !failure_.ok()) return;
    if (!text.empty()) written_ = true;
    std::string converted;
    if (utf8_) {
        converted = toUtf8(text, TextEncoding::Cp852);
        text = converted;
    }
    if (textLinesEndInCrLf()) {
        converted = withCrLf(text);
        text = converted;
    }
    if (mode_ == Mode::InPlace) {
        pending_.append(text);
    } else {
        failure_ = writeAll(file_, text);
    }
}

FileResult ExchangeWriter::commit() {
    if (state_ == State::Writing) {
        if (failure_.ok()) failure_ = finish();
        if (failure_.ok()) {
            state_ = State::Committed;
        } else {
            discard();
        }
    }
    if (state_ == State::Discarded && failure_.ok()) return {"the dump was discarded"};
    return failure_;
}

FileResult ExchangeWriter::finish() {
    if (mode_ == Mode::InPlace) {
        file_ = openFile(path_, "wb");
        if (file_ == nullptr) return {errnoText(errno)};
        if (FileResult written = writeAll(file_, pending_); !written.ok()) return written;
    }
    std::FILE* file = std::exchange(file_, nullptr);
    FileResult result;
    if (mode_ != Mode::Device && file != nullptr) result = syncToDisk(file);
    if (FileResult closed = closeFile(file); result.ok()) result = closed;
    if (result.ok() && mode_ == Mode::Replace) {
        result = replaceFile(tempPath_, path_);
        if (result.ok()) {
            tempPath_.clear();
            setInterruptCleanupPath({});
        }
    }
    return result;
}

void ExchangeWriter::discard() {
    if (state_ == State::Committed) return;
    state_ = State::Discarded;
    if (file_ != nullptr) std::fclose(std::exchange(file_, nullptr));
    pending_.clear();
    if (!tempPath_.empty()) {
        std::error_code ignored;
        fs::remove(tempPath_, ignored);
        tempPath_.clear();
        setInterruptCleanupPath({});
    }
}

}  // namespace lorvex
