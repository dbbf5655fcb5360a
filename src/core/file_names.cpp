#include "core/file_names.h"

#include <optional>
#include <system_error>

namespace lorvex {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

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

#endif

}  // namespace

fs::path resolveFileName(const fs::path& workDir, const std::string& name) {
    const fs::path given(name);
    const fs::path full = given.is_absolute() ? given : workDir / given;
#ifdef _WIN32
    return full;
#else
    fs::path resolved = full.root_path();
    bool matching = true;
    for (const fs::path& part : full.relative_path()) {
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
#endif
}

}  // namespace lorvex
