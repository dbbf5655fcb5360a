#pragma once

// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes. Header-only, for every test layer.

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>

namespace lorvex::test {

// File name (relative to the directory) -> bytes.
using Files = std::map<std::string, std::string>;

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

class TempDir {
  public:
    explicit TempDir(const std::string& prefix = "lorvex-test") {
        std::string name = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot create " + name);
        path_ = name;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Writes the files (creating subdirectories a name asks for).
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        writeText(path_ / name, bytes);
    }
    void write(const Files& files) const {
        for (const auto& [name, bytes] : files) write(name, bytes);
    }
    // Every regular file below the directory, by its relative name (with '/').
    Files read() const {
        Files files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
            if (!entry.is_regular_file()) continue;
            files[entry.path().lexically_relative(path_).generic_string()] = readText(entry.path());
        }
        return files;
    }

  private:
    std::filesystem::path path_;
};

// A full disk: runs `body` in a child process whose files cannot grow past `bytes`; true when the
// child's `body` returned true.
template <typename Body>
bool onAFullDisk(std::size_t bytes, Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) == 0 && body() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

}  // namespace lorvex::test
