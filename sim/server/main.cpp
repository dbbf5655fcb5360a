#include <cstdio>
#include <string>
#include <vector>

#include "sim/server/server.h"
#include "sim/sim_options.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::string error;
    const auto options = lorvex::sim::parseSimOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "lorvex-sim: %s (see --help)\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(lorvex::sim::simHelpText().c_str(), stdout);
        return 0;
    }
    return lorvex::sim::runServer(*options);
}
