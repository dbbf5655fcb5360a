#include "sim/sim_options.h"

#include <charconv>
#include <functional>
#include <map>

namespace lorvex::sim {
namespace {

bool readInt(const std::string& text, int low, int high, int& out) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

// "COUNT" or "COUNT@TRANSACTION".
bool readCountAt(const std::string& text, Fault& fault) {
    const std::size_t at = text.find('@');
    if (!readInt(text.substr(0, at), 0, 1000000, fault.count)) return false;
    return at == std::string::npos || readInt(text.substr(at + 1), 1, 1000000, fault.transaction);
}

// "LETTER:ITEM:CODE", the letter '*' for any.
bool readErrorAt(const std::string& text, ErrorAt& error) {
    if (text.size() < 5 || text[1] != ':') return false;
    const std::size_t second = text.find(':', 2);
    if (second == std::string::npos) return false;
    error.letter = text[0] == '*' ? 0 : text[0];
    return readInt(text.substr(2, second - 2), 0, 1000000, error.item) &&
           readInt(text.substr(second + 1), 0, 255, error.code);
}

}  // namespace

std::string SimOptions::linkName() const {
    return linkPath.empty() ? "COM" + std::to_string(port) : linkPath;
}

std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    SimOptions options;
    // Options that take a value (given as the next argument or after '=').
    using Apply = std::function<bool(const std::string&)>;
    const std::map<std::string, Apply> valued = {
        {"--port", [&](const std::string& v) { return readInt(v, 1, 12, options.port); }},
        {"--link",
         [&](const std::string& v) {
             options.linkPath = v;
             return !v.empty();
         }},
        {"--tcp", [&](const std::string& v) { return readInt(v, 0, 65535, options.tcpPort); }},
        {"--state",
         [&](const std::string& v) {
             options.stateFile = v;
             return !v.empty();
         }},
        {"--log",
         [&](const std::string& v) {
             options.logFile = v;
             return !v.empty();
         }},
        {"--baud",
         [&](const std::string& v) {
             return readInt(v, 0, 1000000, options.baud) &&
                    (options.baud == 9600 || options.baud == 19200);
         }},
        {"--plu-capacity",
         [&](const std::string& v) {
             int capacity = 0;
             if (!readInt(v, 1, 1000000, capacity)) return false;
             options.pluCapacity = static_cast<std::size_t>(capacity);
             return true;
         }},
        {"--naks",
         [&](const std::string& v) {
             Fault fault = Fault::naks(0);
             if (!readCountAt(v, fault)) return false;
             options.faults.add(fault);
             return true;
         }},
        {"--busy",
         [&](const std::string& v) {
             Fault fault = Fault::busy(0);
             if (!readCountAt(v, fault)) return false;
             options.faults.add(fault);
             return true;
         }},
        {"--cut",
         [&](const std::string& v) {
             Fault fault = Fault::cutLine(0);
             if (!readCountAt(v, fault)) return false;
             options.faults.add(fault);
             return true;
         }},
        {"--error",
         [&](const std::string& v) {
             ErrorAt errorAt;
             if (!readErrorAt(v, errorAt)) return false;
             options.faults.errors.push_back(errorAt);
             return true;
         }},
    };
    // Faults that may name one transaction with "=N".
    const std::map<std::string, Fault> transactionFaults = {
        {"--silence", Fault::silence()},
        {"--mute", Fault::mute()},
        {"--garbage", Fault::garbage()},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--line-time") {
            options.lineTime = true;
        } else if (name == "--empty") {
            options.empty = true;
        } else if (name == "--abort-chain") {
            options.faults.abortChainOnError = true;
        } else if (const auto fault = transactionFaults.find(name);
                   fault != transactionFaults.end()) {
            Fault chosen = fault->second;
            if (equals != std::string::npos &&
                !readInt(arg.substr(equals + 1), 1, 1000000, chosen.transaction)) {
                error = "bad transaction number in " + arg;
                return std::nullopt;
            }
            options.faults.add(chosen);
        } else if (const auto option = valued.find(name); option != valued.end()) {
            std::string value;
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                error = name + " needs a value";
                return std::nullopt;
            }
            if (!option->second(value)) {
                error = "bad value for " + name + ": " + value;
                return std::nullopt;
            }
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    return options;
}

std::string simHelpText() {
    return "lorvex-sim: a simulated ER-ORVEX / SOLVEK cash register on a pseudo-terminal\n"
           "\n"
           "usage: lorvex-sim [options]\n"
           "\n"
           "  --port N         put the link COM<N> in the current directory (1..12, default 1)\n"
           "  --link PATH      put the link at PATH instead\n"
           "  --tcp PORT       serve raw TCP on 127.0.0.1:PORT instead, one client at a time\n"
           "                   (0: a free port, named in the ready line)\n"
           "  --state FILE     keep the register's memory in FILE across restarts\n"
           "  --log FILE       write a readable transcript of the line to FILE\n"
           "  --empty          start with an empty register instead of the demo shop\n"
           "  --baud 9600|19200  the line speed used with --line-time (default 9600)\n"
           "  --line-time      each byte takes 10 bit times at the line speed\n"
           "  --plu-capacity N room for N goods (default 4000)\n"
           "\n"
           "faults (\"@T\" or \"=T\" limits a fault to the T-th transaction):\n"
           "  --silence[=T]    no ACK to the enquiry\n"
           "  --mute[=T]       acknowledge the request, then say nothing\n"
           "  --naks N[@T]     N NAKs before acknowledging the request\n"
           "  --busy N[@T]     N HT (busy) bytes before each answer\n"
           "  --garbage[=T]    junk bytes before every frame\n"
           "  --cut N[@T]      the line breaks after N bytes of the first frame\n"
           "  --error L:I:C    answer the I-th item of wire letter L (or *) with status C\n"
           "                   (item 0: every item)\n"
           "  --abort-chain    refuse a bad record of a chained load at once\n"
           "\n"
           "It prints \"lorvex-sim: serving <link> -> <device>\" (or \"serving TCP <address>\") "
           "when ready and serves until\n"
           "interrupted (SIGINT or SIGTERM), then removes the link.\n";
}

}  // namespace lorvex::sim
