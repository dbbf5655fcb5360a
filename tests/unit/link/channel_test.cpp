#include <gtest/gtest.h>

#include <string>

#include "link/channel.h"
#include "support/scripted_port.h"

namespace lorvex::test {
namespace {

TEST(SelectChannel, PulsesUntilTheLinesShowTheChannel) {
    struct Case {
        int from;  // the channel shown before any pulse; 0: none is ever shown
        int wanted;
        int traceLevel;       // the lines read are shown from level 3
        std::string start;    // the timeline up to the first look after a pulse
        std::uint64_t endMs;  // when both lines are raised at the end, after each pulse's 51 ms
        std::string shown;
    };
    const Case cases[] = {
        {3, 3, 3, "0 read,0 DTR0,0 RTS0,500 RTS1,500 DTR1,", 500, "3\n"},
        {1, 4, 3, "0 read,0 DTR0,0 RTS0,500 DTR0,500 RTS1,501 RTS0,501 DTR1,551 read,",
         500 + 3 * 51, "1\n2\n3\n4\n"},
        // Never shown: twenty-nine pulses, then both lines raised, with no message.
        {0, 5, 0, "0 read,0 DTR0,0 RTS0,500 DTR0,500 RTS1,", 500 + 29 * 51, ""},
    };
    for (const Case& c : cases) {
        LinkRig s;
        s.port.modemLines = [&c](int pulses) { return c.from == 0 ? 0 : c.from + pulses; };
        EXPECT_EQ(selectChannel(s.port, s.clock, s.console, c.traceLevel, c.wanted), 0);
        std::string timeline;  // each control-line change and look at the modem lines, timed
        for (std::size_t i = 0; i < s.port.events().size(); ++i)
            timeline += std::to_string(s.port.eventTimes()[i]) + " " + s.port.events()[i] + ",";
        const std::string end = std::to_string(c.endMs);
        EXPECT_TRUE(timeline.starts_with(c.start)) << timeline;
        EXPECT_TRUE(timeline.ends_with(end + " RTS1," + end + " DTR1,")) << timeline;
        EXPECT_EQ(s.clock.nowMs(), c.endMs);
        EXPECT_EQ(s.console.text(), c.shown);
    }
}

}  // namespace
}  // namespace lorvex::test
