#include "core/exchange_reader.h"

#include <cstring>
#include <system_error>

#include "platform/codepages.h"
#include "platform/files.h"

namespace lorvex {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kReadAhead = 64 * 1024;

}  // namespace

std::unique_ptr<ExchangeReader> ExchangeReader::open(const fs::path& path) {
    // A pipe or a terminal would keep the run waiting for lines that may never come.
    std::error_code error;
    const fs::file_type type = fs::status(path, error).type();
    const bool readable = !error && (type == fs::file_type::regular ||
                                     (type == fs::file_type::character && isEmptyDevice(path)));
    if (!readable) return nullptr;
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) return nullptr;
    const std::uintmax_t size = fs::file_size(path, error);
    return std::unique_ptr<ExchangeReader>(new ExchangeReader(file, error ? 0 : size));
}

ExchangeReader::ExchangeReader(std::FILE* file, std::uint64_t size)
    : file_(file), buffer_(kReadAhead), size_(size) {}

ExchangeReader::~ExchangeReader() {
    std::fclose(file_);
}

bool ExchangeReader::fill(std::size_t wanted) {
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
        bytesRead_ += got;
    }
    return true;
}

bool ExchangeReader::readLine(std::string& line, bool* hadLineFeed) {
    if (!utf8_) return readRawLine(line, hadLineFeed);
    if (atFileStart_ && fill(3) && std::memcmp(buffer_.data() + start_, "\xEF\xBB\xBF", 3) == 0) {
        start_ += 3;
    }
    atFileStart_ = false;
    if (!readRawLine(line, hadLineFeed)) return false;
    // A character with no place in code page 852 was read as 0xFF: nothing of this line may
    // reach the register.
    lineUnsendable_ = line.find('\xFF') != std::string::npos;
    return true;
}

int ExchangeReader::takeUtf8Character() {
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
    // Only the shortest form of a Unicode scalar value is a character: an overlong form (C0 80
    // for NUL, C0 AC for a comma) would slip a byte past the checks of the field boundaries.
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return -1;
    // 0xFF marks the unsendable; the non-breaking space that code page 852 keeps there is rare
    // enough in goods names to be refused with it.
    const int byte = byteOf(c, TextEncoding::Cp852);
    return byte == 0xFF ? -1 : byte;
}

bool ExchangeReader::readRawLine(std::string& line, bool* hadLineFeed) {
    line.clear();
    if (hadLineFeed != nullptr) *hadLineFeed = false;
    if (!fill(1)) return false;
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

}  // namespace lorvex
