// The register and the line misbehaving on purpose, as the PC's tests need them to.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/frame.h"
#include "sim/status_codes.h"
#include "sim_rig.h"

namespace lorvex::sim {
namespace {

TEST(RegisterFaults, SilenceAndMuteLeaveThePcWaitingForTheirTransactionsOnly) {
    SimRig rig;
    rig.reg.faults().add(Fault::silence().at(2)).add(Fault::mute().at(3));
    EXPECT_TRUE(rig.pc.dump(request('A', 0)).ended);

    const std::uint64_t before = rig.clock.nowMs();
    const test::PcResult silent = rig.pc.dump(request('A', 0));
    EXPECT_FALSE(silent.acknowledged);
    EXPECT_TRUE(silent.timedOut);
    EXPECT_GE(rig.clock.nowMs() - before, 5000u);

    const test::PcResult muted = rig.pc.dump(request('A', 0));
    EXPECT_TRUE(muted.acknowledged);
    EXPECT_TRUE(muted.timedOut);
    EXPECT_TRUE(muted.texts.empty());

    const test::PcResult again = rig.pc.dump(request('A', 0));
    EXPECT_TRUE(again.ended);
    EXPECT_EQ(again.texts.size(), 1u);
}

TEST(RegisterFaults, NaksBusyBytesAndGarbageComeBeforeTheAnswer) {
    SimRig rig;
    rig.reg.faults().add(Fault::naks(5)).add(Fault::busy(1000)).add(Fault::garbage("\xFE#~"));
    const test::PcResult result = rig.pc.dump(request('H', 0, 1, 1));
    ASSERT_TRUE(result.ended);
    EXPECT_EQ(result.naks, 5);
    EXPECT_EQ(result.busy, 1000);
    ASSERT_EQ(result.texts.size(), 1u);
    const std::string wire = rig.reg.transcript().bytesFrom(Side::Register);
    EXPECT_EQ(wire.substr(0, 7), std::string(1, static_cast<char>(ACK)) +
                                     std::string(5, static_cast<char>(NAK)) +
                                     static_cast<char>(ACK));
    EXPECT_EQ(wire.substr(7 + 1000, 4), "\xFE#~\x02");

    // A load: the busy bytes come before the status frame.
    const test::PcResult load = rig.pc.load(request('D', 1, 3, 3), {"DD3JAN               1234"});
    EXPECT_EQ(load.busy, 1000);
    EXPECT_EQ(load.status, 0);
}

TEST(RegisterFaults, ACutLineLosesTheRestOfTheFrameAndTheNextEnquiryIsServed) {
    SimRig rig;
    rig.reg.faults().add(Fault::cutLine(10).at(1));
    const test::PcResult cut = rig.pc.dump(request('H', 0, 1, 1));
    EXPECT_TRUE(cut.timedOut);
    EXPECT_TRUE(cut.texts.empty());
    EXPECT_EQ(rig.reg.transcript().bytesFrom(Side::Register).size(), 2u + 10u);

    const test::PcResult next = rig.pc.dump(request('H', 0, 1, 1));
    EXPECT_TRUE(next.ended);
    EXPECT_EQ(next.texts.size(), 1u);
}

TEST(RegisterFaults, ErrorsAtAnItemReplaceThatAnswerOrRecord) {
    SimRig rig;
    rig.reg.faults().errorAt('H', 10, 26).errorAt('h', 2, 21).errorAt('I', 2, 18);
    std::vector<std::string> answers;
    for (int department = 1; department <= 12; ++department) {
        answers.push_back(rig.pc.dump(request('H', 0, department, department)).last());
    }
    EXPECT_EQ(answers[8].substr(0, 5), "DH109");
    EXPECT_EQ(answers[9], "EH01A");
    EXPECT_EQ(answers[10].substr(0, 5), "DH111");

    // In a multi-block answer the error is the last block.
    const test::PcResult linked = rig.pc.dump(rangeRequest('h', 0, " ", " "));
    ASSERT_EQ(linked.texts.size(), 2u);
    EXPECT_EQ(linked.texts[1], "Eh015");
    EXPECT_EQ(linked.status, 21);

    // In a load the record is refused with the code, and not stored.
    auto plu = [](const char* code) {
        const std::string digits = code;
        return "DI1" + std::string(18 - digits.size(), ' ') + digits + "Nowy" +
               std::string(14, ' ') + "       100" + "A" + "1" + "00000" + "01" + "00" +
               std::string(18, ' ');
    };
    const test::PcResult load = rig.pc.load(request('I', 1, 5555, 999999999),
                                            {plu("5555"), plu("5556"), plu("5557")}, true);
    EXPECT_EQ(load.status, status::kPluBaseFull);
    EXPECT_EQ(rig.reg.memory().plus.count(5555), 1u);
    EXPECT_EQ(rig.reg.memory().plus.count(5556), 0u);
    EXPECT_EQ(rig.reg.memory().plus.count(5557), 1u);
}

TEST(RegisterFaults, APulledOutAdapterFailsEveryWriteAndRead) {
    SimRig rig;
    rig.reg.faults().unplugAtTransaction = 2;
    EXPECT_TRUE(rig.pc.dump(request('A', 0)).ended);
    const std::uint8_t enq = ENQ;
    EXPECT_FALSE(rig.port.writeBytes(&enq, 1));
    EXPECT_TRUE(rig.port.unplugged());
    std::uint8_t buffer[8];
    EXPECT_EQ(rig.port.readAvailable(buffer, sizeof buffer), 0u);
    EXPECT_EQ(rig.port.waitReadable(100), WaitResult::Failed);

    SimRig midway;
    midway.reg.faults().unplugAfterBytes = 20;  // in the middle of the request frame
    const test::PcResult result = midway.pc.dump(request('A', 0));
    EXPECT_FALSE(result.ended);
    EXPECT_EQ(midway.reg.transcript().bytesFrom(Side::Pc).size(), 20u);
}

TEST(RegisterFaults, LineTimeMakesEachByteTakeTenBitTimes) {
    for (const int baud : {9600, 19200}) {
        SimRig rig;
        rig.reg.setBaud(baud);
        const std::uint64_t start = rig.clock.nowMs();
        const test::PcResult result = rig.pc.dump(request('B', 0));
        ASSERT_TRUE(result.ended);
        const auto& entries = rig.reg.transcript().entries();
        const std::uint64_t byteUs = (10'000'000 + baud - 1) / baud;
        std::size_t spaced = 0;
        for (std::size_t i = 1; i < entries.size(); ++i) {
            if (entries[i].side != entries[i - 1].side) continue;
            EXPECT_GE(entries[i].us - entries[i - 1].us, byteUs) << i;
            ++spaced;
        }
        EXPECT_GT(spaced, 200u);
        // The header answer alone is 226 bytes on the line.
        EXPECT_GE((rig.clock.nowMs() - start) * 1000, entries.size() * byteUs);
    }
}

TEST(RegisterFaults, TheLineSwitchStepsOnEachRtsPulseWithDtrLow) {
    SimulatedRegister reg;
    VirtualClock clock;
    SimulatedPort port(reg, clock, LineSwitch{4, 1});
    EXPECT_EQ(port.readModemLines(), 1);
    port.setDtr(0);
    for (int pulse = 0; pulse < 3; ++pulse) {
        port.setRts(1);
        port.setRts(0);
    }
    EXPECT_EQ(port.readModemLines(), 4);
    port.setRts(1);
    port.setRts(0);
    EXPECT_EQ(port.readModemLines(), 1);
    port.setDtr(256);  // only the low byte counts: still low
    port.setRts(1);
    EXPECT_EQ(port.readModemLines(), 2);
}

}  // namespace
}  // namespace lorvex::sim
