#include "test_dir.h"

#include <stdlib.h>

#include <string>
#include <system_error>

namespace lorvex::test {

TestDir::TestDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lorvex-link-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TestDir::~TestDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace lorvex::test
