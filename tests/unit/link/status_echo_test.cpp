#include <gtest/gtest.h>

#include "link/status_log.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

TEST(StatusLog, ThePlainLettersEchoKeepsTheAccentedO) {
    test::TempDir dir;
    CapturingConsole console;
    StatusLog log(dir.path() / "error.orv", CharsetMode::None, 1, console);
    log.report(23, 0, "");
    EXPECT_EQ(console.text(), "er=23  Blad tandemów\n\n");
}

}  // namespace
}  // namespace lorvex::test
