#include "link/open_port.h"

#include <cctype>
#include <optional>
#include <system_error>

#include "link/device_port.h"
#include "link/net/network_port.h"

namespace lorvex {

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 12;

// A value that atoi would read as a number (digits, blanks or a sign first) names a port number;
// anything else names a device.
bool namesDevice(const std::string& value) {
    if (value.empty()) return false;
    const auto first = static_cast<unsigned char>(value[0]);
    return !(std::isdigit(first) || std::isspace(first) || first == '+' || first == '-');
}

#ifndef _WIN32
bool sameLetters(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The entry of `dir` named `name` without regard to case; an exact match wins.
std::optional<std::filesystem::path> findEntry(const std::filesystem::path& dir,
                                               const std::string& name) {
    std::optional<std::filesystem::path> found;
    std::error_code error;
    std::filesystem::directory_iterator it(dir, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (entry == name) return it->path();
        if (!found && sameLetters(entry, name)) found = it->path();
    }
    return found;
}

// Only a plain name is looked up in /dev: no way out of it.
bool isPlainName(const std::string& name) {
    return name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}
#endif

}  // namespace

std::string resolvePortPath(const std::string& portValue, int portNumber,
                            const std::filesystem::path& workDir) {
#ifdef _WIN32
    (void)workDir;
    if (namesDevice(portValue)) return {};
    if (portNumber < kFirstPort || portNumber > kLastPort) return {};
    // The device namespace reaches COM10 to COM12 as well.
    return "\\\\.\\COM" + std::to_string(portNumber);
#else
    if (namesDevice(portValue)) {
        if (!isPlainName(portValue)) return {};
        const std::optional<std::filesystem::path> device = findEntry("/dev", portValue);
        return device ? device->string() : std::string();
    }
    if (portNumber < kFirstPort || portNumber > kLastPort) return {};
    // An entry COM<n> beside the program's files (a symlink to a tty, as Wine maps DOS devices)
    // comes before the machine's own ports.
    const std::optional<std::filesystem::path> local =
        findEntry(workDir, "COM" + std::to_string(portNumber));
    if (local) return local->string();
    return "/dev/ttyS" + std::to_string(portNumber - 1);
#endif
}

std::unique_ptr<SerialPort> openSerialPort(const std::string& portValue, int portNumber,
                                           bool baud19200, const std::filesystem::path& workDir,
                                           Console& console, int traceLevel, PortFailure& failure) {
    if (const std::optional<NetworkAddress> address = parseNetworkAddress(portValue)) {
        failure.device = portValue;
        return openNetworkPort(*address, baud19200, failure);
    }
    const std::string path = resolvePortPath(portValue, portNumber, workDir);
    if (path.empty()) {
        failure.device = "/P" + portValue;
        failure.reason = "names no serial port";
        failure.hint = serialDevicesHint();
        return nullptr;
    }
    failure.device = path;
    return openDevicePort(path, baud19200, console, traceLevel, failure);
}

}  // namespace lorvex
