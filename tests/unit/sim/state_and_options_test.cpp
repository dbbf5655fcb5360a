// The simulator's memory kept in a file, and its command line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "sim/sim_options.h"
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
    EXPECT_EQ(read.header, memory.header);
    EXPECT_EQ(read.cashiers[4].name, memory.cashiers[4].name);
    EXPECT_EQ(read.plus.size(), memory.plus.size());
    EXPECT_EQ(read.pluCapacity, 321u);
}

TEST(RegisterState, AFileThatIsNotAWholeStateIsRefusedAndChangesNothing) {
    const std::string good = stateText(demoMemory());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "empty"},
        {"something else\n", "not a lorvex-sim state file"},
        {good.substr(0, good.rfind("end\n")), "cut short"},
        {good.substr(0, good.size() / 2), "line"},
        {replaced("flags 1 0 3", "flags 1 0 300"), "line"},
        {replaced("department 1 ", "department 43 "), "line"},
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
    std::mt19937_64 random(std::random_device{}());
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("lorvex-sim-state-" + std::to_string(random()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "kasa.state";
    RegisterMemory memory = demoMemory();
    std::string error;
    ASSERT_TRUE(saveState(file, memory, error)) << error;
    memory.stateDigit = 3;
    ASSERT_TRUE(saveState(file, memory, error)) << error;
    RegisterMemory read = emptyMemory();
    ASSERT_TRUE(loadState(file, read, error)) << error;
    EXPECT_EQ(read.stateDigit, 3);
    EXPECT_FALSE(std::filesystem::exists(dir / "kasa.state.tmp"));
    EXPECT_FALSE(saveState(dir / "missing" / "kasa.state", memory, error));
    EXPECT_FALSE(loadState(dir / "missing.state", read, error));
    std::filesystem::remove_all(dir);
}

TEST(SimOptions, ReadsTheCommandLine) {
    std::string error;
    const auto options = parseSimOptions({"--port",
                                          "3",
                                          "--state=kasa.state",
                                          "--log",
                                          "wire.log",
                                          "--baud",
                                          "19200",
                                          "--line-time",
                                          "--empty",
                                          "--silence=2",
                                          "--naks",
                                          "5@3",
                                          "--busy",
                                          "100",
                                          "--garbage",
                                          "--cut",
                                          "12@4",
                                          "--error",
                                          "H:10:26",
                                          "--error=*:0:17",
                                          "--abort-chain",
                                          "--mute=9",
                                          "--plu-capacity",
                                          "50"},
                                         error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->linkName(), "COM3");
    EXPECT_EQ(options->stateFile, "kasa.state");
    EXPECT_EQ(options->logFile, "wire.log");
    EXPECT_EQ(options->baud, 19200);
    EXPECT_TRUE(options->lineTime);
    EXPECT_TRUE(options->empty);
    EXPECT_EQ(options->pluCapacity, 50u);
    EXPECT_TRUE(options->faults.abortChainOnError);
    const FaultPlan& faults = options->faults;
    ASSERT_NE(faults.find(FaultKind::Silence, 2), nullptr);
    EXPECT_EQ(faults.find(FaultKind::Silence, 1), nullptr);
    EXPECT_EQ(faults.find(FaultKind::Naks, 3)->count, 5);
    EXPECT_EQ(faults.find(FaultKind::Busy, 77)->count, 100);
    EXPECT_NE(faults.find(FaultKind::Garbage, 1), nullptr);
    EXPECT_EQ(faults.find(FaultKind::CutLine, 4)->count, 12);
    EXPECT_EQ(faults.errorFor('H', 10), 26);
    EXPECT_EQ(faults.errorFor('I', 3), 17);
    EXPECT_EQ(parseSimOptions({"--link", "/tmp/x/COM7"}, error)->linkName(), "/tmp/x/COM7");

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--port", "13"},
                                               {"--baud", "4800"},
                                               {"--naks"},
                                               {"--naks", "x"},
                                               {"--error", "H10:26"},
                                               {"--silence=0"},
                                               {"--frobnicate"}}) {
        EXPECT_FALSE(parseSimOptions(bad, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(parseSimOptions({"--help"}, error)->help);
}

}  // namespace
}  // namespace lorvex::sim
