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

namespace lorvex {
namespace {

namespace fs = std::filesystem;

// The C runtime's calls leave their reason in errno.
std::string runtimeError(int error) {
    return std::generic_category().message(error);
}

// The Win32 calls leave theirs for GetLastError, worded by the system.
std::string win32Error(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text != nullptr ? std::string(text, length)
                                                        : "error " + std::to_string(error);
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

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
        created.failure = runtimeError(errno);
        return created;
    }
    created.file = _fdopen(fd, "wb");
    if (created.file == nullptr) {
        created.failure = runtimeError(errno);
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
    return {runtimeError(errno)};
}

FileResult replaceFile(const fs::path& from, const fs::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return {win32Error(GetLastError())};
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
