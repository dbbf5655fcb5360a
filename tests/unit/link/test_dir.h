#pragma once

#include <filesystem>

namespace lorvex::test {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TestDir {
  public:
    TestDir();
    ~TestDir();
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace lorvex::test
