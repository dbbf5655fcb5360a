#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

#include "platform/files.h"
#include "platform/system_error.h"

namespace lorvex {
namespace {

namespace fs = std::filesystem;

}  // namespace

std::FILE* openFile(const fs::path& path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
}

NewFile createNewFile(const fs::path& path, const fs::path&) {
    NewFile created;
    const int fd =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        created.nameTaken = errno == EEXIST;
        created.failure = errnoText(errno);
        return created;
    }
    created.file = _fdopen(fd, "wb");
    if (created.file == nullptr) {
        created.failure = errnoText(errno);
        _close(fd);
        _wunlink(path.c_str());
    }
    return created;
}

bool mayWrite(const fs::path& path) {
    return _waccess(path.c_str(), 2) == 0;
}

bool isEmptyDevice(const fs::path&) {
    // Windows names its devices apart from files (NUL, CON); a load reads whichever it is given.
    return true;
}

FileResult syncToDisk(std::FILE* file) {
    if (std::fflush(file) == 0 && _commit(_fileno(file)) == 0) return {};
    return {errnoText(errno)};
}

FileResult replaceFile(const fs::path& from, const fs::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return {windowsErrorText(GetLastError())};
}

bool seekFile(std::FILE* file, std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(std::numeric_limits<__int64>::max())) return false;
    return _fseeki64(file, static_cast<__int64>(position), SEEK_SET) == 0;
}

bool fileSize(std::FILE* file, std::uint64_t& size) {
    if (_fseeki64(file, 0, SEEK_END) != 0) return false;
    const __int64 end = _ftelli64(file);
    if (end < 0) return false;
    size = static_cast<std::uint64_t>(end);
    return true;
}

bool textLinesEndInCrLf() {
    return true;
}

fs::path matchLetterCase(const fs::path& path) {
    return path;
}

}  // namespace lorvex
