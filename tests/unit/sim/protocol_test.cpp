// The register's side of the line, byte by byte, against a scripted PC on the virtual clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "link/frame.h"
#include "sim/cp852.h"
#include "sim/status_codes.h"
#include "sim_rig.h"

namespace lorvex::sim {
namespace {

std::string bytes(std::initializer_list<std::uint8_t> list) {
    return std::string(list.begin(), list.end());
}

// A PLU record as the PC formats it, with a tandem code or none.
std::string pluRecord(long long code, const char* name, long long tandem = 0) {
    char text[128];
    char tandemText[32];
    std::snprintf(tandemText, sizeof tandemText, "%18s", " ");
    if (tandem > 0) std::snprintf(tandemText, sizeof tandemText, "%18lld", tandem);
    std::snprintf(text, sizeof text, "DI1%18lld%-18s%10d%c%1d%5s%02d%02d%s", code, name, 199, 'A',
                  1, "00000", 1, 0, tandemText);
    return text;
}

// Reads whatever the register has sent and the PC has not taken.
void drain(SimRig& rig) {
    std::uint8_t buffer[512];
    while (rig.port.readAvailable(buffer, sizeof buffer) > 0) {
    }
}

std::string framed(const std::string& text, std::uint8_t end = ETX) {
    return static_cast<char>(STX) + text + static_cast<char>(end) +
           test::ScriptedPc::checksumText(text);
}

TEST(RegisterProtocol, OneBlockDumpIsAckedThenAnsweredAfterThePcHandsOver) {
    SimRig rig;
    const std::string req = request('H', 0, 1, 1);
    const test::PcResult result = rig.pc.dump(req);
    ASSERT_TRUE(result.ended);
    ASSERT_EQ(result.texts.size(), 1u);
    EXPECT_TRUE(result.checksumsGood);
    EXPECT_EQ(result.texts[0].substr(0, 5), "DH101");

    const std::string fromPc = rig.reg.transcript().bytesFrom(Side::Pc);
    const std::string fromRegister = rig.reg.transcript().bytesFrom(Side::Register);
    EXPECT_EQ(fromPc, bytes({ENQ}) + framed(req) + bytes({EOT, ACK, EOT}));
    EXPECT_EQ(fromRegister, bytes({ACK, ACK}) + framed(result.texts[0]) + bytes({EOT}));
    ASSERT_EQ(rig.reg.exchanges().size(), 1u);
    EXPECT_TRUE(rig.reg.exchanges()[0].completed);
    EXPECT_EQ(rig.reg.exchanges()[0].request, req);
}

TEST(RegisterProtocol, TheAnswerWaitsUntilThePcHandsOverWithEot) {
    SimRig rig;
    rig.pc.writeByte(ENQ);
    rig.pc.sendFrame(request('A', 0));
    drain(rig);             // the ACKs of the enquiry and the request
    rig.pc.write("x\x06");  // stray bytes are not the PC's turn ending
    EXPECT_EQ(rig.port.waitReadable(3000), WaitResult::TimedOut);
    rig.pc.writeByte(EOT);
    ASSERT_EQ(rig.port.waitReadable(100), WaitResult::Ready);
    EXPECT_EQ(rig.pc.readByte(), STX);
}

TEST(RegisterProtocol, ManyBlocksEndInEtbExceptTheLastAndAnEmptyRangeEndsAtOnce) {
    SimRig rig;
    const test::PcResult linked = rig.pc.dump(rangeRequest('h', 0, " ", " "));
    ASSERT_EQ(linked.texts.size(), 3u);
    const std::vector<std::string> frames = rig.reg.transcript().framesFrom(Side::Register);
    ASSERT_EQ(frames.size(), 3u);
    const std::string wire = rig.reg.transcript().bytesFrom(Side::Register);
    EXPECT_NE(wire.find(framed(linked.texts[0], ETB)), std::string::npos);
    EXPECT_NE(wire.find(framed(linked.texts[1], ETB)), std::string::npos);
    EXPECT_NE(wire.find(framed(linked.texts[2], ETX)), std::string::npos);

    rig.reg.transcript().clear();
    const test::PcResult none = rig.pc.dump(rangeRequest('I', 0, "9000", "9999"));
    EXPECT_TRUE(none.ended);
    EXPECT_TRUE(none.texts.empty());
    EXPECT_EQ(rig.reg.transcript().bytesFrom(Side::Register), bytes({ACK, ACK, EOT}));
}

TEST(RegisterProtocol, PlainLoadIsAnsweredWithADecimalStatusFrameAfterThePcsEot) {
    SimRig rig;
    const std::string record = "DD3JAN               1234";
    const test::PcResult stored = rig.pc.load(request('D', 1, 3, 3), {record});
    ASSERT_TRUE(stored.ended);
    EXPECT_EQ(stored.last(), "DD100");
    EXPECT_EQ(stored.status, 0);
    EXPECT_EQ(rig.reg.memory().cashiers[3].name.substr(0, 3), "JAN");
    EXPECT_EQ(rig.reg.transcript().bytesFrom(Side::Register),
              bytes({ACK, ACK, ACK}) + framed("DD100") + bytes({EOT}));

    // Status 20 travels as the digits 2 and 0, not as hexadecimal.
    const test::PcResult refused =
        rig.pc.load(request('I', 1, 1234, 999999999), {pluRecord(1234, "Chleb", 4444)});
    EXPECT_EQ(refused.last(), "EI120");
    EXPECT_EQ(refused.status, 20);
}

TEST(RegisterProtocol, ChainedLoadTakesRecordsSeparatedByEtbAndReportsTheFirstRefusal) {
    SimRig rig(emptyMemory());
    const auto plu = [](long long code, const char* name) { return pluRecord(code, name); };
    // The PC sends the first code as 18 digits even beyond 32 bits.
    const std::string req = "SI1000005900000000001000000000999999999";
    const test::PcResult chained = rig.pc.load(
        req, {plu(5900000000001, "Jeden"), plu(20000, "Zly kod"), plu(12, "Trzy")}, true);
    ASSERT_TRUE(chained.ended);
    EXPECT_EQ(chained.status, status::kNoSuchItem);
    EXPECT_EQ(rig.reg.memory().plus.size(), 2u);
    EXPECT_EQ(rig.reg.exchanges().back().records.size(), 3u);
    // Two ETBs between three records, no answer to them: one ACK per frame.
    const std::string fromPc = rig.reg.transcript().bytesFrom(Side::Pc);
    EXPECT_EQ(std::count(fromPc.begin(), fromPc.end(), static_cast<char>(ETB)), 2);
    const std::string fromRegister = rig.reg.transcript().bytesFrom(Side::Register);
    EXPECT_EQ(fromRegister.substr(0, 5), bytes({ACK, ACK, ACK, ACK, ACK}));

    // Refusing at once: the bad record is answered by the status frame instead of ACK.
    SimRig strict(emptyMemory());
    strict.reg.faults().abortChainOnError = true;
    const test::PcResult aborted = strict.pc.load(
        req, {plu(5900000000001, "Jeden"), plu(20000, "Zly kod"), plu(12, "Trzy")}, true);
    EXPECT_EQ(aborted.status, status::kNoSuchItem);
    EXPECT_EQ(strict.reg.exchanges().back().records.size(), 2u);
}

TEST(RegisterProtocol, LoadWithoutARecordIsNotASuccess) {
    SimRig rig;
    rig.pc.writeByte(ENQ);
    rig.pc.sendFrame(request('H', 1, 5, 5));
    rig.pc.writeByte(EOT);
    const std::string wire = [&] {
        std::string got;
        while (auto byte = rig.pc.readByte()) {
            got += static_cast<char>(*byte);
            if (*byte == ETX) break;
        }
        return got;
    }();
    EXPECT_NE(wire.find("EH102"), std::string::npos) << wire;
}

TEST(RegisterProtocol, BadChecksumIsRefusedAndAnEnquiryStartsOver) {
    SimRig rig;
    rig.pc.writeByte(ENQ);
    const std::string req = request('H', 0, 1, 1);
    rig.pc.write(static_cast<char>(STX) + req + static_cast<char>(ETX) + "0000");
    rig.pc.writeByte(ENQ);  // the PC gives up and starts over
    drain(rig);
    const test::PcResult again = rig.pc.dump(req);
    EXPECT_EQ(rig.reg.engine().badFrames(), 1);
    EXPECT_TRUE(again.ended);
    ASSERT_EQ(again.texts.size(), 1u);
    const std::string fromRegister = rig.reg.transcript().bytesFrom(Side::Register);
    EXPECT_EQ(fromRegister.substr(0, 4), bytes({ACK, NAK, ACK, ACK}));
    EXPECT_EQ(rig.reg.exchanges().size(), 3u);
    EXPECT_FALSE(rig.reg.exchanges()[0].completed);
}

TEST(RegisterProtocol, AnAbandonedTransactionIsGivenUpAfterItsTimeOut) {
    SimRig rig;
    rig.pc.writeByte(ENQ);
    rig.pc.sendFrame(request('H', 1, 5, 5));  // a load whose record never comes
    EXPECT_FALSE(rig.reg.engine().idle());
    EXPECT_EQ(rig.port.waitReadable(60000), WaitResult::Ready);  // the two ACKs
    std::uint8_t drain[16];
    rig.port.readAvailable(drain, sizeof drain);
    EXPECT_EQ(rig.port.waitReadable(60000), WaitResult::TimedOut);
    EXPECT_TRUE(rig.reg.engine().idle());
    EXPECT_EQ(rig.reg.engine().abandonedTransactions(), 1u);
}

TEST(RegisterProtocol, ZeroingHappensOnlyOnceTheReportWasDelivered) {
    SimRig rig;
    ASSERT_NE(rig.reg.memory().cash.total, 0);
    // Read without zeroing: the counters stay.
    rig.pc.dump(request('o', 0));
    EXPECT_NE(rig.reg.memory().cash.total, 0);
    // The PC drops the line before acknowledging the answer: nothing is lost.
    rig.pc.writeByte(ENQ);
    rig.pc.sendFrame(request('o', 2));
    rig.pc.writeByte(EOT);
    rig.clock.sleepMs(30000);
    rig.port.waitReadable(1);
    drain(rig);
    EXPECT_NE(rig.reg.memory().cash.total, 0);
    // Delivered with mode 2: zeroed.
    const test::PcResult zeroed = rig.pc.dump(request('o', 2));
    ASSERT_TRUE(zeroed.ended);
    EXPECT_EQ(zeroed.texts[0].substr(3, 20), std::string(14, ' ') + "523499");
    EXPECT_EQ(rig.reg.memory().cash.total, 0);
    EXPECT_EQ(rig.pc.dump(request('o', 0)).texts[0].substr(3, 20), std::string(19, ' ') + "0");

    // PLU sales are zeroed for the range delivered only.
    rig.reg.memory().plus.at(12001).sales = {100, 1000};
    ASSERT_TRUE(rig.pc.dump(rangeRequest('U', 2, "0001", "9999")).ended);
    EXPECT_EQ(rig.reg.memory().plus.at(8).sales.quantity, 0);
    EXPECT_EQ(rig.reg.memory().plus.at(12001).sales.quantity, 1000);
    const int daily = rig.reg.memory().daily.number;
    rig.pc.dump(request('w', 2));
    EXPECT_EQ(rig.reg.memory().daily.number, daily + 1);
}

}  // namespace
}  // namespace lorvex::sim
