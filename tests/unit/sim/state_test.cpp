// The simulator's memory kept in a file across restarts.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sim/state_file.h"
#include "support/temp_dir.h"

namespace lorvex::sim {
namespace {

// Saved over an older state and read back, the whole memory comes back, odd bytes and all.
TEST(RegisterState, TheWholeMemoryComesBackFromItsFile) {
    RegisterMemory memory = demoMemory();
    memory.header[5] = '%';  // the escape character itself
    memory.cashiers[4].name = std::string("A B\x01\xFF", 4) + std::string(14, ' ');
    memory.plus[5900000000001ull].sales = {-5, -1000};
    memory.pluCapacity = 321;
    const test::TempDir dir;
    std::string error;
    ASSERT_TRUE(saveState(dir / "kasa.state", emptyMemory(), error)) << error;
    ASSERT_TRUE(saveState(dir / "kasa.state", memory, error)) << error;
    RegisterMemory read = emptyMemory();
    ASSERT_TRUE(loadState(dir / "kasa.state", read, error)) << error;
    EXPECT_EQ(stateText(read), stateText(memory));
    EXPECT_EQ(dir.read().size(), 1u);  // no .tmp left
    EXPECT_FALSE(saveState(dir / "missing" / "kasa.state", memory, error));
    EXPECT_FALSE(loadState(dir / "missing.state", read, error));
}

TEST(RegisterState, AFileThatIsNotAWholeStateIsRefusedAndChangesNothing) {
    const std::string good = stateText(demoMemory());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "empty"},
        {"something else\n", "not a lorvex-sim state file"},
        {good.substr(0, good.rfind("end\n")), "cut short"},
        {good.substr(0, good.size() / 2), "line"},
        {replaced("flags 1 0 3", "flags 1 0 300"), "line"},
        {replaced("flags 1 0 3", "flags 1 0 3 4"), "more values"},
        {replaced("uni =ABC1234567", "uni =ABC123456"), "width 10"},
        {replaced("nip ", "nap "), "unknown item"},
        {good + "flags 1 2 3 4 5 6 7\n", "after the end"},
    };
    for (const auto& [text, why] : cases) {
        RegisterMemory memory = emptyMemory();
        memory.stateDigit = 7;
        std::string error;
        EXPECT_FALSE(readStateText(text, memory, error)) << why;
        EXPECT_NE(error.find(why), std::string::npos) << error;
        EXPECT_EQ(memory.stateDigit, 7) << why;
    }
}

}  // namespace
}  // namespace lorvex::sim
