// Runs a fuzz target over every file of the corpus folder given, so the committed corpus (with
// the regression inputs of every crash found) is replayed by ctest under any compiler.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::error_code error;
    int replayed = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[1], error)) {
        if (!entry.is_regular_file()) continue;
        const std::string input = lorvex::test::readText(entry.path());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        ++replayed;
    }
    if (error || replayed == 0) {
        std::fprintf(stderr, "cannot replay the corpus %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    std::printf("%d passed, 0 failed\n", replayed);
    return 0;
}
