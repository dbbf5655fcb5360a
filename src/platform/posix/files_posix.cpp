#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>

#include "platform/files.h"
#include "platform/system_error.h"

namespace lorvex {
namespace {

namespace fs = std::filesystem;

FileResult resultOf(bool ok) {
    return ok ? FileResult{} : FileResult{errnoText(errno)};
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool entryExists(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    return !error && status.type() != fs::file_type::not_found;
}

// The entry of `directory` whose name equals `wanted` apart from letter case. When several do
// (dane.txt and Dane.txt), the first in byte order is taken, so the choice never depends on the
// order the directory happens to list them in.
std::optional<std::string> findIgnoringCase(const fs::path& directory, const std::string& wanted) {
    std::error_code error;
    fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, error);
    if (error) return std::nullopt;
    std::optional<std::string> best;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        std::string candidate = it->path().filename().string();
        if (!equalIgnoringCase(candidate, wanted)) continue;
        if (!best || candidate < *best) best = std::move(candidate);
    }
    return best;
}

}  // namespace

std::FILE* openFile(const fs::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

NewFile createNewFile(const fs::path& path, const fs::path& model) {
    NewFile created;
    struct stat old {};
    const bool replacing = ::stat(model.c_str(), &old) == 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        created.nameTaken = errno == EEXIST;
        created.failure = errnoText(errno);
        return created;
    }
    if (replacing) {
        // Best effort: only the owner or root may change these, and a copy that keeps the
        // umask's permissions is still the user's data.
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
        }
        if (fchmod(fd, old.st_mode & 07777) != 0) {
        }
    }
    created.file = fdopen(fd, "wb");
    if (created.file == nullptr) {
        created.failure = errnoText(errno);
        ::close(fd);
        ::unlink(path.c_str());
    }
    return created;
}

bool mayWrite(const fs::path& path) {
    return access(path.c_str(), W_OK) == 0;
}

bool isEmptyDevice(const fs::path& path) {
    std::error_code error;
    return fs::canonical(path, error) == "/dev/null";
}

FileResult syncToDisk(std::FILE* file) {
    return resultOf(std::fflush(file) == 0 && fsync(fileno(file)) == 0);
}

FileResult replaceFile(const fs::path& from, const fs::path& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return resultOf(false);
    // The rename itself reaches the disk only with its directory.
    const fs::path directory = to.parent_path().empty() ? fs::path(".") : to.parent_path();
    const int fd = ::open(directory.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        ::close(fd);
    }
    return {};
}

bool seekFile(std::FILE* file, std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
}

bool fileSize(std::FILE* file, std::uint64_t& size) {
    if (fseeko(file, 0, SEEK_END) != 0) return false;
    const off_t end = ftello(file);
    if (end < 0) return false;
    size = static_cast<std::uint64_t>(end);
    return true;
}

bool textLinesEndInCrLf() {
    return false;
}

fs::path matchLetterCase(const fs::path& path) {
    fs::path resolved = path.root_path();
    bool matching = true;
    for (const fs::path& part : path.relative_path()) {
        const std::string text = part.string();
        if (!matching || text.empty() || text == "." || text == ".." ||
            entryExists(resolved / part)) {
            resolved /= part;
            continue;
        }
        if (std::optional<std::string> found = findIgnoringCase(resolved, text)) {
            resolved /= *found;
        } else {
            // Nothing further down can exist: the rest stays as the user wrote it.
            resolved /= part;
            matching = false;
        }
    }
    return resolved;
}

}  // namespace lorvex
