// The command line: any bytes, split into arguments at NUL bytes, parsed as a whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/screens.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        if (data[i] != 0) args.back() += static_cast<char>(data[i]);
    }
    const lorvex::Settings settings = lorvex::parseCommandLine(lorvex::joinArguments(args));
    // What the parser hands on must be usable as it stands.
    if (settings.fileName.size() > size + 16 || settings.portValue.size() > size + 16)
        __builtin_trap();
    return 0;
}
