#include "link/posix/open_failure.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "link/device_port.h"
#include "platform/system_error.h"

namespace lorvex {

namespace {

// A busy device names a few of its holders; the search of the process table is bounded.
constexpr std::size_t kMostHolders = 4;
constexpr int kMostDescriptorLooks = 200000;
constexpr std::size_t kMostListedDevices = 8;

std::string joinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        if (!joined.empty()) joined += ", ";
        joined += name;
    }
    return joined;
}

#ifdef __linux__
bool isNumber(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process holding the device's lock, as /proc/locks tells it:
// "1: FLOCK  ADVISORY  WRITE 1234 00:1a:5 0 EOF" (major and minor in hex, then the inode).
std::vector<std::string> lockHolders(const struct stat& device) {
    std::vector<std::string> holders;
    std::ifstream locks("/proc/locks");
    std::string line;
    while (holders.size() < kMostHolders && std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, where;
        fields >> number >> kind >> mode >> access >> pid >> where;
        unsigned int deviceMajor = 0, deviceMinor = 0;
        unsigned long inode = 0;
        if (kind != "FLOCK" ||
            std::sscanf(where.c_str(), "%x:%x:%lu", &deviceMajor, &deviceMinor, &inode) != 3) {
            continue;
        }
        if (deviceMajor == major(device.st_dev) && deviceMinor == minor(device.st_dev) &&
            inode == device.st_ino) {
            holders.push_back(pid);
        }
    }
    return holders;
}

// Every other process with the device open (/proc/<pid>/fd), where this user may look.
std::vector<std::string> openHolders(const struct stat& device) {
    std::vector<std::string> holders;
    const std::string self = std::to_string(::getpid());
    int looks = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator process("/proc", error);
         !error && process != std::filesystem::directory_iterator(); process.increment(error)) {
        const std::string pid = process->path().filename().string();
        if (!isNumber(pid) || pid == self) continue;
        std::error_code fdError;
        for (std::filesystem::directory_iterator fd(process->path() / "fd", fdError);
             !fdError && fd != std::filesystem::directory_iterator(); fd.increment(fdError)) {
            if (++looks > kMostDescriptorLooks) return holders;
            struct stat target {};
            if (::stat(fd->path().c_str(), &target) == 0 && S_ISCHR(target.st_mode) &&
                target.st_rdev == device.st_rdev) {
                holders.push_back(pid);
                break;
            }
        }
        if (holders.size() >= kMostHolders) break;
    }
    return holders;
}
#endif

std::string busyHint(const std::string& path) {
    std::vector<std::string> holders;
#ifdef __linux__
    struct stat device {};
    if (::stat(path.c_str(), &device) == 0) {
        holders = lockHolders(device);
        if (holders.empty()) holders = openHolders(device);
    }
#else
    (void)path;
#endif
    std::string hint = "another program holds it";
    if (holders.size() == 1) hint += ": process " + holders.front();
    if (holders.size() > 1) hint += ": processes " + joinNames(holders);
    return hint;
}

// The group that may use the device (dialout on Debian), when it is not root's.
std::string permissionHint(const std::string& path) {
    struct stat device {};
    if (::stat(path.c_str(), &device) != 0 || device.st_gid == 0) return {};
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(4096);
    if (::getgrgid_r(device.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr) {
        return {};
    }
    const std::string name = entry.gr_name;
    return "add yourself to the " + name + " group: sudo adduser $USER " + name;
}

}  // namespace

std::string serialDevicesHint() {
    std::vector<std::string> devices;
    std::error_code error;
    for (std::filesystem::directory_iterator it("/dev", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) {
            devices.push_back(it->path().string());
        }
    }
    std::sort(devices.begin(), devices.end());
    std::vector<std::string> byId;
    for (std::filesystem::directory_iterator it("/dev/serial/by-id", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        byId.push_back(it->path().string());
    }
    std::sort(byId.begin(), byId.end());
    devices.insert(devices.end(), byId.begin(), byId.end());
    if (devices.empty()) {
        return "no serial device found: /dev/ttyUSB*, /dev/ttyACM*, /dev/serial/by-id/*";
    }
    if (devices.size() > kMostListedDevices) {
        devices.resize(kMostListedDevices);
        devices.push_back("...");
    }
    return "serial devices here: " + joinNames(devices);
}

void explainOpenFailure(const std::string& path, int error, PortFailure& failure) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
            failure.reason = errnoText(error);
            failure.hint = serialDevicesHint();
            break;
        case ENOTTY:
            failure.reason = "not a serial device";
            failure.hint = serialDevicesHint();
            break;
        case EACCES:
        case EPERM:
            failure.reason = errnoText(error);
            failure.hint = permissionHint(path);
            break;
        case EBUSY:
        case EWOULDBLOCK:
            failure.reason = errnoText(EBUSY);
            failure.hint = busyHint(path);
            break;
        default:
            failure.reason = errnoText(error);
            failure.hint.clear();
            break;
    }
}

}  // namespace lorvex
