#include "sim/server/pty_link.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace lorvex::sim {
namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string readLink(const std::string& path) {
    std::vector<char> target(4096);
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size() - 1);
    if (length < 0) return {};
    return std::string(target.data(), static_cast<std::size_t>(length));
}

bool laterThan(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// A link to a pseudo-terminal that a killed simulator left behind: its pty is gone, or its number
// has been given to a pty made after the link (this simulator's own, most likely), which cannot be
// the one the link was made for.
bool isStaleLink(const std::string& linkName, const struct stat& link, const std::string& ownPty) {
    if (!S_ISLNK(link.st_mode)) return false;
    const std::string target = readLink(linkName);
    if (target.rfind("/dev/pts/", 0) != 0) return false;
    struct stat pty {};
    if (::stat(target.c_str(), &pty) != 0 || target == ownPty) return true;
    return laterThan(pty.st_ctim, link.st_mtim);
}

}  // namespace

PtyLink::~PtyLink() {
    close();
}

bool PtyLink::open(const std::string& linkName, std::string& error) {
    close();
    linkName_ = linkName;
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = systemError("cannot create a pseudo-terminal");
        return false;
    }
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = systemError("cannot unlock the pseudo-terminal");
        close();
        return false;
    }
    const char* name = ::ptsname(master_);
    if (name == nullptr) {
        error = systemError("cannot name the pseudo-terminal");
        close();
        return false;
    }
    slavePath_ = name;

    // A new session whose controlling terminal is our own slave: no client can take it, and a
    // client's close never hangs us up. A process-group leader cannot start a session; the
    // simulator then serves without one.
    const bool session = ::setsid() >= 0;
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = systemError("cannot open " + slavePath_);
        close();
        return false;
    }
    if (session) ::ioctl(slave_, TIOCSCTTY, 0);

    termios raw{};
    if (::tcgetattr(slave_, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
    }
    const int flags = ::fcntl(master_, F_GETFL);
    if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) < 0) {
        error = systemError("cannot make the pseudo-terminal non-blocking");
        close();
        return false;
    }
#ifdef __linux__
    watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ >= 0 && ::inotify_add_watch(watch_, slavePath_.c_str(),
                                           IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        ::close(watch_);
        watch_ = -1;
    }
#endif
    if (!makeLink(error)) {
        close();
        return false;
    }
    return true;
}

bool PtyLink::makeLink(std::string& error) {
    struct stat info {};
    if (::lstat(linkName_.c_str(), &info) == 0 && !isStaleLink(linkName_, info, slavePath_)) {
        // A user's file, a link to a real port and the link of a simulator still serving are
        // never touched.
        error =
            linkName_ + " exists (" +
            (S_ISLNK(info.st_mode) ? "a link to " + readLink(linkName_) : std::string("a file")) +
            "); not replacing it: remove it with \"rm " + linkName_ + "\" if it is no port";
        return false;
    }
    const std::string temporary = linkName_ + ".lorvex-sim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(slavePath_.c_str(), temporary.c_str()) != 0) {
        error = systemError("cannot create the link " + temporary);
        return false;
    }
    if (::rename(temporary.c_str(), linkName_.c_str()) != 0) {
        error = systemError("cannot create the link " + linkName_);
        ::unlink(temporary.c_str());
        return false;
    }
    linkMade_ = true;
    return true;
}

void PtyLink::close() {
    if (linkMade_ && readLink(linkName_) == slavePath_) ::unlink(linkName_.c_str());
    linkMade_ = false;
    for (int* fd : {&watch_, &slave_, &master_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    clients_ = 0;
}

bool PtyLink::lastClientClosed() {
#ifdef __linux__
    if (watch_ < 0) return false;
    alignas(inotify_event) char buffer[4096];
    bool closed = false;
    for (;;) {
        const ssize_t length = ::read(watch_, buffer, sizeof buffer);
        if (length <= 0) break;
        std::size_t offset = 0;
        while (offset + sizeof(inotify_event) <= static_cast<std::size_t>(length)) {
            inotify_event event;
            std::memcpy(&event, buffer + offset, sizeof event);
            if ((event.mask & IN_OPEN) != 0) ++clients_;
            if ((event.mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) != 0 && clients_ > 0) {
                --clients_;
                closed = true;
            }
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                clients_ = 0;
                closed = true;
            }
            offset += sizeof(inotify_event) + event.len;
        }
    }
    // A client that opened right after the last one closed keeps its bytes: only a line that
    // nobody holds now is cleaned.
    if (!closed || clients_ > 0) return false;
    if (slave_ >= 0) {
        ::ioctl(slave_, TIOCNXCL);
        ::tcflush(slave_, TCIFLUSH);
    }
    return true;
#else
    return false;
#endif
}

}  // namespace lorvex::sim
