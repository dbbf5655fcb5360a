// Any bytes as the exchange file of a load: the first byte picks the job letter, the second the
// /S encoding (UTF-8 files included); the rest is the file, read, split and sent to the simulated
// register by the real run flow.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/job_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::string_view kLetters = "ABCDEFGHIJUWYZ";
    if (size < 2 || size > 4096) return 0;
    const std::string letter = std::string("/C") + kLetters[data[0] % kLetters.size()];
    const std::string charset = "/S" + std::to_string(1 + data[1] % 4);
    const std::string file(reinterpret_cast<const char*>(data + 2), size - 2);

    lorvex::test::JobHarness harness;
    harness.file("LOAD.TXT", file);
    const lorvex::test::JobResult run = harness.run({"/L", letter, charset, "/FLOAD.TXT"});
    // A load runs to its end and never changes the user's file.
    if (run.exitCode != 0 || run.file("LOAD.TXT") != file) __builtin_trap();
    return 0;
}
