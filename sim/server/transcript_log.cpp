#include "sim/server/transcript_log.h"

namespace lorvex::sim {
namespace {

constexpr std::uint64_t kQuietUs = 200'000;
constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kEtx = 0x03;
constexpr std::uint8_t kEtb = 0x17;

}  // namespace

TranscriptLog::~TranscriptLog() {
    flush();
    if (file_ != nullptr) std::fclose(file_);
}

bool TranscriptLog::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "ab");
    return file_ != nullptr;
}

void TranscriptLog::note(const std::string& text) {
    if (file_ == nullptr) return;
    flush();
    std::fputs(text.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

void TranscriptLog::add(Side side, std::uint64_t us, std::uint8_t byte) {
    if (file_ == nullptr) return;
    if (!run_.empty() && (side != side_ || us > lastUs_ + kQuietUs)) flush();
    if (run_.empty()) {
        side_ = side;
        startUs_ = us;
    }
    run_ += static_cast<char>(byte);
    lastUs_ = us;
    if (checksumLeft_ > 0) {
        if (--checksumLeft_ == 0) flush();
    } else if (byte == kStx) {
        inFrame_ = true;
    } else if (inFrame_ && (byte == kEtx || byte == kEtb)) {
        inFrame_ = false;
        checksumLeft_ = 4;
    }
}

void TranscriptLog::flushIfQuiet(std::uint64_t nowUs) {
    if (!run_.empty() && nowUs > lastUs_ + kQuietUs) flush();
}

void TranscriptLog::flush() {
    checksumLeft_ = -1;
    inFrame_ = false;
    if (file_ == nullptr || run_.empty()) return;
    const std::string line = readableLine(side_, startUs_, run_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
    run_.clear();
}

}  // namespace lorvex::sim
