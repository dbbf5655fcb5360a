// Any register bytes through the link's receive state machines: the first byte picks the
// transaction, how many bytes arrive per poll and whether the adapter dies when the script ends;
// the second the trace level. Each transaction must end with one of its documented results.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/scripted_port.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 8192) return 0;
    const int operation = data[0] & 3;
    lorvex::VirtualClock clock;
    lorvex::test::ScriptedPort port(clock);
    port.sendLater(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
    port.mostPerRead = 1 + ((data[0] >> 2) & 15) * 7;
    port.failWhenDrained = (data[0] & 0x80) != 0;
    lorvex::CapturingConsole console(true);
    lorvex::RegisterLink link(port, clock, console, data[1] % 6);

    const std::string request = lorvex::buildRequest('C', 0, 0, 0);
    const std::string record = "DC" + std::string(40, 'x');
    if (operation == 0) {
        std::string buffer = request;
        int blockCounter = 0;
        // Every block comes from the script, so the answer cannot have more blocks than it.
        for (std::size_t calls = 0;; ++calls) {
            const lorvex::StatusCode status = link.receiveAnswer(buffer, blockCounter);
            if (status != 0 && status != -1 && status != 99) __builtin_trap();
            if (blockCounter < 0 || calls > size) __builtin_trap();
            if (status != 0 || blockCounter == 0) break;
        }
    } else if (operation == 1) {
        (void)link.sendRecord(request, record);
    } else {
        const int last = operation == 2 ? 2 : 5;
        for (int i = 0; i <= last; ++i) {
            using Position = lorvex::RecordPosition;
            const auto position = i == 0      ? Position::First
                                  : i == last ? Position::Last
                                              : Position::Middle;
            if (link.sendRecordChained(request, record, position) != 0) break;
        }
    }
    // Every wait is bounded: no transaction may outlast its time-outs by far.
    if (clock.nowMs() > 120'000 + size * 20'000) __builtin_trap();
    return 0;
}
