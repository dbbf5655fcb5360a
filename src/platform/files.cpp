#include "platform/files.h"
#include "platform/system_error.h"

#include <cerrno>
#include <cstdint>
#include <random>
#include <system_error>

namespace lorvex {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxSymlinkHops = 40;
constexpr int kTempNameAttempts = 100;

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

FileResult lastFailure() {
    return {errno != 0 ? errnoText(errno) : "input/output error"};
}

}  // namespace

FileResult writeAll(std::FILE* file, std::string_view text) {
    if (file == nullptr) return {"not open"};
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file) == text.size()) return {};
    return lastFailure();
}

FileResult closeFile(std::FILE* file) {
    if (file == nullptr) return {"not open"};
    errno = 0;
    FileResult result;
    if (std::fflush(file) != 0 || std::ferror(file)) result = lastFailure();
    if (std::fclose(file) != 0 && result.ok()) result = lastFailure();
    return result;
}

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

TemporaryFile createTemporaryBeside(const fs::path& target) {
    // Built as a path: on Windows the name may hold letters the narrow code page lacks.
    fs::path base(".");
    base += target.filename();
    base += ".lorvex-";
    std::mt19937_64 generator(randomSeed());
    TemporaryFile created;
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        fs::path name = base;
        name += randomLetters(generator, 6);
        const fs::path candidate = target.parent_path() / name;
        NewFile file = createNewFile(candidate, target);
        if (file.file != nullptr) {
            created.file = file.file;
            created.path = candidate;
            return created;
        }
        created.failure = std::move(file.failure);
        if (!file.nameTaken) return created;
    }
    return created;
}

}  // namespace lorvex
