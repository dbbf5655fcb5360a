#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/channel.h"
#include "support/scripted_port.h"

namespace lorvex::test {
namespace {

TEST(SelectChannel, PulsesUntilTheLinesShowTheChannel) {
    struct Case {
        int from;  // the channel shown before any pulse; 0: none is ever shown
        int wanted;
        int traceLevel;                  // the lines read are shown from level 3
        std::vector<std::string> start;  // the timeline up to the first look after a pulse
        std::uint64_t endMs;
        std::string shown;
        int looks;
    };
    const Case cases[] = {
        {3, 3, 3, {"0 read", "0 DTR0", "0 RTS0", "500 RTS1", "500 DTR1"}, 500, "3\n", 1},
        {1,
         4,
         3,
         {"0 read", "0 DTR0", "0 RTS0", "500 DTR0", "500 RTS1", "501 RTS0", "501 DTR1", "551 read"},
         500 + 3 * 51,
         "1\n2\n3\n4\n",
         4},
        // Never shown: twenty-nine pulses, then both lines raised, with no message.
        {0, 5, 0, {"0 read", "0 DTR0", "0 RTS0", "500 DTR0", "500 RTS1"}, 500 + 29 * 51, "", 30},
    };
    for (const Case& c : cases) {
        LinkRig s;  // each control-line change and look at the modem lines, with its time
        s.port.modemLines = [&c](int pulses) { return c.from == 0 ? 0 : c.from + pulses; };
        EXPECT_EQ(selectChannel(s.port, s.clock, s.console, c.traceLevel, c.wanted), 0);
        std::vector<std::string> timeline;
        for (std::size_t i = 0; i < s.port.events().size(); ++i)
            timeline.push_back(std::to_string(s.port.eventTimes()[i]) + " " + s.port.events()[i]);
        ASSERT_GE(timeline.size(), c.start.size());
        EXPECT_EQ(std::vector<std::string>(timeline.begin(), timeline.begin() + c.start.size()),
                  c.start);
        EXPECT_EQ(s.clock.nowMs(), c.endMs);
        EXPECT_EQ(s.console.text(), c.shown);
        EXPECT_EQ(s.port.count("read"), c.looks);
        const std::string end = std::to_string(c.endMs);
        EXPECT_EQ(std::vector<std::string>(timeline.end() - 2, timeline.end()),
                  (std::vector<std::string>{end + " RTS1", end + " DTR1"}));
    }
}

}  // namespace
}  // namespace lorvex::test
