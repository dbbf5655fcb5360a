#include "core/file_names.h"

#include "platform/files.h"

namespace lorvex {

std::filesystem::path resolveFileName(const std::filesystem::path& workDir,
                                      const std::string& name) {
    const std::filesystem::path given(name);
    return matchLetterCase(given.is_absolute() ? given : workDir / given);
}

}  // namespace lorvex
