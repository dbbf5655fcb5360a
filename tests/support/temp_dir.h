#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace lorvex::test {

// File name (relative to the directory) -> bytes.
using Files = std::map<std::string, std::string>;

// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes.
class TempDir {
  public:
    explicit TempDir(const std::string& prefix = "lorvex-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes the files (creating subdirectories a name asks for).
    void write(const Files& files) const;
    void write(const std::string& name, const std::string& bytes) const;
    // Every regular file below the directory, by its relative name (with '/').
    Files read() const;

  private:
    std::filesystem::path path_;
};

}  // namespace lorvex::test
