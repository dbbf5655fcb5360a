#include "core/exchange_file.h"

#include "platform/codepages.h"
#include "platform/files.h"
#include "platform/interrupt.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace lorvex {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kReadAhead = 64 * 1024;
constexpr int kMaxSymlinkHops = 40;
constexpr int kTempNameAttempts = 100;

fs::file_type typeOf(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return error ? fs::file_type::not_found : status.type();
}

// Follows symbolic links to the file a dump must replace, also when the last link points to a
// file not created yet: renaming over the link itself would cut it off from the user's file.
fs::path writeTarget(fs::path path) {
    for (int hop = 0; hop < kMaxSymlinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(path, error)) return path;
        const fs::path next = fs::read_symlink(path, error);
        if (error) return path;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

bool isWritable(const fs::path& path) {
#ifdef _WIN32
    return _waccess(path.c_str(), 2) == 0;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

std::string randomLetters(std::mt19937_64& generator, int count) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kLetters) - 2);
    std::string text;
    for (int i = 0; i < count; ++i) text += kLetters[pick(generator)];
    return text;
}

std::uint64_t randomSeed() {
    std::uint64_t seed = 0;
    try {
        std::random_device device;
        seed = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (...) {
        // No entropy source: the address of a stack variable still differs between runs.
        seed = reinterpret_cast<std::uintptr_t>(&seed);
    }
    return seed;
}

// Creates a new file with a name nobody else has, beside `target`, with the permissions and owner
// of the file it will replace (or the usual ones for a new file).
std::FILE* createTemporary(const fs::path& target, fs::path& tempPath) {
    const fs::path directory = target.parent_path();
    // Built as a path: on Windows the name may hold letters the narrow code page lacks.
    fs::path base(".");
    base += target.filename();
    base += ".lorvex-";
    std::mt19937_64 generator(randomSeed());
#ifndef _WIN32
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
#endif
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        fs::path name = base;
        name += randomLetters(generator, 6);
        const fs::path candidate = directory / name;
#ifdef _WIN32
        const int fd = _wopen(candidate.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                              _S_IREAD | _S_IWRITE);
#else
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
#ifdef _WIN32
        std::FILE* file = _fdopen(fd, "wb");
        if (file == nullptr) _close(fd);
#else
        if (replacing) {
            // Best effort: only the owner or root may change these, and a copy that keeps the
            // umask's permissions is still the user's data.
            if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            }
            if (fchmod(fd, old.st_mode & 07777) != 0) {
            }
        }
        std::FILE* file = fdopen(fd, "wb");
        if (file == nullptr) ::close(fd);
#endif
        if (file == nullptr) {
            std::error_code ignored;
            fs::remove(candidate, ignored);
            return nullptr;
        }
        tempPath = candidate;
        return file;
    }
    return nullptr;
}

bool syncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool replaceFile(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    // The rename itself reaches the disk only with its directory.
    const fs::path directory = to.parent_path().empty() ? fs::path(".") : to.parent_path();
    const int fd = ::open(directory.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        ::close(fd);
    }
    return true;
#endif
}

}  // namespace

std::unique_ptr<ExchangeFile> ExchangeFile::openForLoad(const fs::path& path) {
    // A pipe or a terminal would keep the run waiting for lines that may never come.
    const fs::file_type type = typeOf(path);
    if (type != fs::file_type::regular && type != fs::file_type::character) return nullptr;
#ifndef _WIN32
    std::error_code error;
    if (type == fs::file_type::character && fs::canonical(path, error) != "/dev/null") {
        return nullptr;
    }
#endif
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) return nullptr;
    std::unique_ptr<ExchangeFile> opened(new ExchangeFile);
    opened->file_ = file;
    opened->path_ = path;
    opened->buffer_.resize(kReadAhead);
    return opened;
}

std::unique_ptr<ExchangeFile> ExchangeFile::openForDump(const fs::path& path) {
    const fs::path target = writeTarget(path);
    std::unique_ptr<ExchangeFile> opened(new ExchangeFile);
    opened->dump_ = true;
    opened->path_ = target;
    switch (typeOf(target)) {
        case fs::file_type::not_found:
            break;
        case fs::file_type::regular:
            // The file would have refused to open for writing: it is not ours to replace.
            if (!isWritable(target)) return nullptr;
            break;
        case fs::file_type::character:
            opened->mode_ = DumpMode::Device;
            opened->file_ = openFile(target, "wb");
            if (opened->file_ == nullptr) return nullptr;
            return opened;
        default:
            return nullptr;
    }
    opened->file_ = createTemporary(target, opened->tempPath_);
    if (opened->file_ != nullptr) {
        setInterruptCleanupPath(opened->tempPath_);
        return opened;
    }
    // The user may write the file but not its directory: it can still be rewritten, though not
    // replaced, and it is left alone until the whole dump is there.
    if (typeOf(target) != fs::file_type::regular) return nullptr;
    opened->mode_ = DumpMode::InPlace;
    return opened;
}

ExchangeFile::~ExchangeFile() {
    if (dump_ && !finished_) discard();
    closeFile();
}

void ExchangeFile::closeFile() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool ExchangeFile::fill(std::size_t wanted) {
    while (end_ - start_ < wanted) {
        if (endOfFile_) return false;
        if (start_ > 0) {
            std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
            end_ -= start_;
            start_ = 0;
        }
        const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        if (got == 0) {
            endOfFile_ = true;
            if (std::ferror(file_)) readFailed_ = true;
        }
        end_ += got;
    }
    return true;
}

void ExchangeFile::useUtf8(std::function<void()> onUnsendableLine) {
    utf8_ = true;
    onUnsendableLine_ = std::move(onUnsendableLine);
}

bool ExchangeFile::readLine(std::string& line, bool* hadLineFeed) {
    if (!utf8_) return readRawLine(line, hadLineFeed);
    if (atFileStart_ && fill(3) && std::memcmp(buffer_.data() + start_, "\xEF\xBB\xBF", 3) == 0) {
        start_ += 3;
    }
    atFileStart_ = false;
    while (readRawLine(line, hadLineFeed)) {
        if (line.find('\xFF') == std::string::npos) return true;
        // A character with no place in code page 852 was read as 0xFF: nothing of this line may
        // reach the register.
        if (onUnsendableLine_) onUnsendableLine_();
    }
    return false;
}

int ExchangeFile::takeUtf8Character() {
    const auto lead = static_cast<unsigned char>(buffer_[start_]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || lead > 0xF4 || !fill(length)) {
        ++start_;
        return -1;
    }
    char32_t c = lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(buffer_[start_ + i]);
        if ((next & 0xC0) != 0x80) {
            start_ += i;
            return -1;
        }
        c = (c << 6) | (next & 0x3F);
    }
    start_ += length;
    // 0xFF marks the unsendable; the non-breaking space that code page 852 keeps there is rare
    // enough in goods names to be refused with it.
    const int byte = byteOf(c, TextEncoding::Cp852);
    return byte == 0xFF ? -1 : byte;
}

bool ExchangeFile::readRawLine(std::string& line, bool* hadLineFeed) {
    line.clear();
    if (hadLineFeed != nullptr) *hadLineFeed = false;
    if (dump_ || file_ == nullptr || !fill(1)) return false;
    while (fill(1)) {
        const char c = buffer_[start_];
        const bool lineEnd = c == '\n' || (c == '\r' && fill(2) && buffer_[start_ + 1] == '\n');
        if (lineEnd) {
            start_ += c == '\n' ? 1 : 2;
            if (hadLineFeed != nullptr) *hadLineFeed = true;
            return true;
        }
        if (line.size() == kMaxLine) return true;
        if (utf8_ && static_cast<unsigned char>(c) >= 0x80) {
            const int byte = takeUtf8Character();
            line.push_back(static_cast<char>(byte < 0 ? 0xFF : byte));
            continue;
        }
        line.push_back(c);
        ++start_;
    }
    return true;
}

void ExchangeFile::write(std::string_view text) {
    if (!dump_ || finished_ || writeFailed_) return;
    if (!text.empty()) written_ = true;
    std::string utf8;
    if (utf8_) {
        utf8 = toUtf8(text, TextEncoding::Cp852);
        text = utf8;
    }
#ifdef _WIN32
    // Text files on Windows end their lines in CR LF.
    std::string converted;
    converted.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) converted += '\r';
        converted += text[i];
    }
    text = converted;
#endif
    if (mode_ == DumpMode::InPlace) {
        pending_.append(text);
    } else if (file_ == nullptr || std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        writeFailed_ = true;
    }
}

bool ExchangeFile::commit() {
    if (!dump_) return true;
    if (finished_) return committed_;
    finished_ = true;
    bool ok = !writeFailed_;
    if (mode_ == DumpMode::InPlace && ok) {
        file_ = openFile(path_, "wb");
        ok = file_ != nullptr &&
             std::fwrite(pending_.data(), 1, pending_.size(), file_) == pending_.size();
    }
    pending_.clear();
    if (file_ == nullptr) ok = false;
    if (file_ != nullptr) {
        if (std::fflush(file_) != 0 || std::ferror(file_)) ok = false;
        if (ok && mode_ != DumpMode::Device && !syncToDisk(file_)) ok = false;
        if (std::fclose(file_) != 0) ok = false;
        file_ = nullptr;
    }
    if (mode_ == DumpMode::Replace) {
        if (ok) ok = replaceFile(tempPath_, path_);
        if (!ok) {
            std::error_code ignored;
            fs::remove(tempPath_, ignored);
        }
        setInterruptCleanupPath({});
    }
    if (!ok) writeFailed_ = true;
    committed_ = ok;
    return ok;
}

void ExchangeFile::discard() {
    if (!dump_ || finished_) return;
    finished_ = true;
    closeFile();
    pending_.clear();
    if (mode_ == DumpMode::Replace) {
        std::error_code ignored;
        fs::remove(tempPath_, ignored);
        setInterruptCleanupPath({});
    }
}

}  // namespace lorvex
