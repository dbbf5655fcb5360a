// Any answer text through the dump of every letter: a stand-in register answers each request
// with the fuzz bytes as one frame, and the real run flow decodes it into the exchange file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/program.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPRSTUWXYZ";
    if (size < 2 || size > 2048) return 0;
    const std::string letter = std::string("/C") + kLetters[data[0] % kLetters.size()];
    const std::string charset = "/S" + std::to_string(1 + data[1] % 4);
    const std::string answer(reinterpret_cast<const char*>(data + 2), size - 2);

    lorvex::test::TempDir dir("lorvex-fuzz-answer");
    lorvex::VirtualClock clock;
    lorvex::CapturingConsole console;
    lorvex::Environment env{
        console, clock,
        [&](const lorvex::Settings&, lorvex::PortFailure&) -> std::unique_ptr<lorvex::SerialPort> {
            // A register that keeps to the protocol and gives this answer to every request.
            auto port = std::make_unique<lorvex::test::ScriptedPort>(clock);
            port->always("ENQ", std::string(1, lorvex::ACK));
            port->always("FRAME:", lorvex::test::registerFrame(answer));
            port->always("ACK", std::string(1, lorvex::EOT));
            return port;
        },
        dir.path()};
    const int exitCode = lorvex::runProgram({letter, charset, "/FDUMP.TXT", "/Q1"}, env);
    if (exitCode != 0) __builtin_trap();
    return 0;
}
