// The simulator's memory kept in a file across restarts.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "sim/state_file.h"

namespace lorvex::sim {
namespace {

TEST(RegisterState, TheWholeMemoryComesBackFromItsText) {
    RegisterMemory memory = demoMemory();
    memory.header[5] = '%';  // the escape character itself
    memory.cashiers[4].name = std::string("A B\x01\xFF", 4) + std::string(14, ' ');
    memory.plus[5900000000001ull].sales = {-5, -1000};
    memory.pluCapacity = 321;
    RegisterMemory read = emptyMemory();
    std::string error;
    ASSERT_TRUE(readStateText(stateText(memory), read, error)) << error;
    EXPECT_EQ(stateText(read), stateText(memory));
    EXPECT_NE(stateText(read), stateText(emptyMemory()));
    EXPECT_EQ(read.cashiers[4].name, memory.cashiers[4].name);
    EXPECT_EQ(read.plus.size(), memory.plus.size());
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
        {replaced("uni =ABC1234567", "uni =ABC12345%4"), "width 10"},
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

TEST(RegisterState, SavingReplacesTheFileWhole) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("lorvex-sim-state-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    RegisterMemory memory = demoMemory();
    std::string error;
    ASSERT_TRUE(saveState(dir / "kasa.state", emptyMemory(), error)) << error;
    ASSERT_TRUE(saveState(dir / "kasa.state", memory, error)) << error;
    RegisterMemory read = emptyMemory();
    ASSERT_TRUE(loadState(dir / "kasa.state", read, error)) << error;
    EXPECT_EQ(stateText(read), stateText(memory));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no .tmp left
    EXPECT_FALSE(saveState(dir / "missing" / "kasa.state", memory, error));
    EXPECT_FALSE(loadState(dir / "missing.state", read, error));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lorvex::sim
