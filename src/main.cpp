#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/program.h"
#include "link/open_port.h"
#include "platform/interrupt.h"

int main(int argc, char** argv) {
    lorvex::installInterruptCleanup();
    lorvex::StreamConsole console(stdout, stderr);
    lorvex::SystemClock clock;
    std::error_code error;
    std::filesystem::path workDir = std::filesystem::current_path(error);
    if (error) workDir = ".";
    lorvex::Environment env{console, clock,
                            [&](const lorvex::Settings& settings, lorvex::PortFailure& failure) {
                                return lorvex::openSerialPort(settings.portValue, settings.port,
                                                              settings.baud19200, workDir, console,
                                                              settings.traceLevel, failure);
                            },
                            workDir};
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return lorvex::runProgram(args, env);
}
