// The register's side of the line, byte by byte, against a scripted PC on the virtual clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "link/frame.h"
#include "sim/status_codes.h"
#include "sim_rig.h"

namespace lorvex::sim {
namespace {

std::string bytes(std::initializer_list<std::uint8_t> list) {
    return std::string(list.begin(), list.end());
}

std::string framed(const std::string& text, std::uint8_t end = ETX) {
    return static_cast<char>(STX) + text + static_cast<char>(end) +
           test::ScriptedPc::checksumText(text);
}

// A PLU record as the PC formats it, with a tandem code or none.
std::string plu(const std::string& code, const std::string& tandem = "") {
    return "DI1" + right(code, 18) + "Nowy              " + "       199" + "A100000" + "0100" +
           right(tandem, 18);
}

// Reads whatever the register has sent and the PC has not taken.
void drain(SimRig& rig) {
    std::uint8_t buffer[512];
    while (rig.port.readAvailable(buffer, sizeof buffer) > 0) {
    }
}

TEST(RegisterProtocol, OneBlockDumpIsAckedThenAnsweredAfterThePcHandsOver) {
    SimRig rig;
    const std::string req = request('H', 0, 1, 1);
    const test::PcResult result = rig.pc.dump(req);
    ASSERT_TRUE(result.ended);
    ASSERT_EQ(result.texts.size(), 1u);
    EXPECT_EQ(rig.reg.transcript().bytesFrom(Side::Pc),
              bytes({ENQ}) + framed(req) + bytes({EOT, ACK, EOT}));
    EXPECT_EQ(rig.reg.transcript().bytesFrom(Side::Register),
              bytes({ACK, ACK}) + framed(result.texts[0]) + bytes({EOT}));
    EXPECT_TRUE(rig.reg.exchanges().at(0).completed);

    // A refused request is answered with its status in hexadecimal.
    EXPECT_EQ(rig.pc.dump(request('H', 0, 43, 43)).last(), "EH01D");
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
    const std::string wire = rig.reg.transcript().bytesFrom(Side::Register);
    EXPECT_NE(wire.find(framed(linked.texts[0], ETB) + framed(linked.texts[1], ETB) +
                        framed(linked.texts[2], ETX)),
              std::string::npos);

    rig.reg.transcript().clear();
    const test::PcResult none = rig.pc.dump(rangeRequest('I', 0, "9000", "9999"));
    EXPECT_TRUE(none.ended);
    EXPECT_TRUE(none.texts.empty());
    EXPECT_EQ(rig.reg.transcript().bytesFrom(Side::Register), bytes({ACK, ACK, EOT}));
}

TEST(RegisterProtocol, ALoadIsAnsweredWithADecimalStatusFrameAfterThePcsEot) {
    SimRig rig;
    const test::PcResult stored = rig.pc.load(request('D', 1, 3, 3), {"DD3JAN               1234"});
    ASSERT_TRUE(stored.ended);
    EXPECT_EQ(rig.reg.memory().cashiers[3].name.substr(0, 3), "JAN");
    EXPECT_EQ(rig.reg.transcript().bytesFrom(Side::Register),
              bytes({ACK, ACK, ACK}) + framed("DD100") + bytes({EOT}));

    // Status 20 travels as the digits 2 and 0, not as hexadecimal.
    EXPECT_EQ(rig.pc.load(request('I', 1, 1234, 999999999), {plu("1234", "4444")}).last(), "EI120");
    // A load that carried no record is no success.
    EXPECT_EQ(rig.pc.load(request('H', 1, 5, 5), {}).last(), "EH102");
}

TEST(RegisterProtocol, ChainedLoadTakesRecordsSeparatedByEtbAndReportsTheFirstRefusal) {
    const std::vector<std::string> records = {plu("5900000000001"), plu("20000"), plu("12")};
    // The PC sends the first code as 18 digits even beyond 32 bits.
    const std::string req = "SI1000005900000000001000000000999999999";
    SimRig rig(emptyMemory());
    const test::PcResult chained = rig.pc.load(req, records, true);
    ASSERT_TRUE(chained.ended);
    EXPECT_EQ(chained.status, status::kNoSuchItem);
    EXPECT_EQ(rig.reg.memory().plus.size(), 2u);
    // Two ETBs between three records, no answer to them: one ACK per frame.
    const std::string fromPc = rig.reg.transcript().bytesFrom(Side::Pc);
    EXPECT_EQ(std::count(fromPc.begin(), fromPc.end(), static_cast<char>(ETB)), 2);
    EXPECT_EQ(rig.reg.transcript().bytesFrom(Side::Register).substr(0, 6),
              bytes({ACK, ACK, ACK, ACK, ACK, STX}));

    // Refusing at once: the bad record is answered by the status frame instead of ACK.
    SimRig strict(emptyMemory());
    strict.reg.faults().abortChainOnError = true;
    EXPECT_EQ(strict.pc.load(req, records, true).status, status::kNoSuchItem);
    EXPECT_EQ(strict.reg.exchanges().back().records.size(), 2u);
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
    drain(rig);
    EXPECT_EQ(rig.port.waitReadable(60000), WaitResult::TimedOut);
    EXPECT_TRUE(rig.reg.engine().idle());
    EXPECT_EQ(rig.reg.engine().abandonedTransactions(), 1u);
}

TEST(RegisterProtocol, ZeroingHappensOnlyOnceTheReportWasDelivered) {
    SimRig rig;
    ASSERT_NE(rig.reg.memory().cash.total, 0);
    rig.pc.dump(request('o', 0));  // read without zeroing
    EXPECT_NE(rig.reg.memory().cash.total, 0);
    // The PC drops the line before acknowledging the answer: nothing is lost.
    rig.pc.writeByte(ENQ);
    rig.pc.sendFrame(request('o', 2));
    rig.pc.writeByte(EOT);
    rig.clock.sleepMs(30000);
    rig.port.waitReadable(1);
    drain(rig);
    EXPECT_NE(rig.reg.memory().cash.total, 0);
    ASSERT_TRUE(rig.pc.dump(request('o', 2)).ended);
    EXPECT_EQ(rig.reg.memory().cash.total, 0);

    // PLU sales are zeroed for the range delivered only.
    rig.reg.memory().plus.at(12001).sales = {100, 1000};
    ASSERT_TRUE(rig.pc.dump(rangeRequest('U', 2, "0001", "9999")).ended);
    EXPECT_EQ(rig.reg.memory().plus.at(8).sales.quantity, 0);
    EXPECT_EQ(rig.reg.memory().plus.at(12001).sales.quantity, 1000);
}

}  // namespace
}  // namespace lorvex::sim
