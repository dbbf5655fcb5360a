#include "core/file_names.h"

#include <algorithm>

#include "platform/files.h"

namespace lorvex {

std::filesystem::path resolveFileName(const std::filesystem::path& workDir,
                                      const std::string& name) {
    // One command line serves both systems: where '\\' is no separator of its own, it is one here.
    std::string portable = name;
    if (std::filesystem::path::preferred_separator == '/') {
        std::replace(portable.begin(), portable.end(), '\\', '/');
    }
    const std::filesystem::path given(portable);
    return matchLetterCase(given.is_absolute() ? given : workDir / given);
}

}  // namespace lorvex
