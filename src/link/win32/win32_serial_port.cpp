#include "link/win32/win32_serial_port.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "link/device_port.h"
#include "platform/system_error.h"

namespace lorvex {

namespace {

constexpr DWORD kQueueBytes = 1024;
constexpr DWORD kAllEvents = 0x1FF;  // RXCHAR RXFLAG TXEMPTY CTS DSR RLSD BREAK ERR RING
constexpr std::uint32_t kWaitStepMs = 10;
// A single wait is cut into pieces no longer than this, so the message queue is drained now
// and then even when the caller asks for a long wait.
constexpr std::uint32_t kLongestWaitMs = 1000;
// A message queue that never empties must not hold the wait.
constexpr int kMostMessagesPerDrain = 10000;

void explainOpenFailure(DWORD error, PortFailure& failure) {
    failure.reason = windowsErrorText(error);
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            // A COM port is opened by one program at a time.
            failure.hint = "another program holds it";
            break;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            failure.hint = serialDevicesHint();
            break;
        default:
            failure.hint.clear();
            break;
    }
}

}  // namespace

std::string serialDevicesHint() {
    // Every DOS device name, each ending in a NUL; the COM ports among them.
    std::vector<char> names(1 << 16);
    while (QueryDosDeviceA(nullptr, names.data(), static_cast<DWORD>(names.size())) == 0) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || names.size() >= (1u << 22)) {
            return {};
        }
        names.resize(names.size() * 2);
    }
    std::vector<int> ports;
    for (const char* name = names.data(); *name != '\0'; name += std::strlen(name) + 1) {
        if (std::strncmp(name, "COM", 3) == 0 && name[3] != '\0' &&
            std::strspn(name + 3, "0123456789") == std::strlen(name + 3)) {
            ports.push_back(std::atoi(name + 3));
        }
    }
    if (ports.empty()) return "no COM port found";
    std::sort(ports.begin(), ports.end());
    std::string hint = "COM ports here:";
    for (std::size_t i = 0; i < ports.size(); ++i) {
        hint += (i == 0 ? " COM" : ", COM") + std::to_string(ports[i]);
    }
    return hint;
}

std::unique_ptr<Win32SerialPort> Win32SerialPort::open(const std::string& path, bool baud19200,
                                                       Console& console, int traceLevel,
                                                       PortFailure& failure) {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        explainOpenFailure(GetLastError(), failure);
        return nullptr;
    }
    std::unique_ptr<Win32SerialPort> port(new Win32SerialPort(handle));
    port->configure(baud19200, console, traceLevel);
    return port;
}

void Win32SerialPort::configure(bool baud19200, Console& console, int traceLevel) {
    SetupComm(handle_, kQueueBytes, kQueueBytes);

    // Every field not set here keeps the value the port already had.
    DCB dcb;
    ZeroMemory(&dcb, sizeof(dcb));
    dcb.DCBlength = sizeof(dcb);
    GetCommState(handle_, &dcb);
    dcb.BaudRate = baud19200 ? CBR_19200 : CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fParity = 1;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDsrSensitivity = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fErrorChar = 0;
    dcb.fNull = 0;
    dcb.fAbortOnError = 0;
    SetCommState(handle_, &dcb);

    GetCommMask(handle_, &eventWord_);

    // A write is bounded by 10 ms a byte and a second more. Reads return what is waiting at
    // once; with nothing waiting, a read waits for the first byte up to the time the wait of
    // the moment allows (see waitReadable), so a byte is taken the moment it arrives.
    if (!setFirstByteWait(0) && traceLevel >= 3) {
        console.print("err timeout\n", TextEncoding::Ascii);
    }
    if (!SetCommMask(handle_, kAllEvents) && traceLevel >= 3) {
        console.print("err mask\n", TextEncoding::Ascii);
    }
    clearLineErrors();
    setRts(1);
    setDtr(1);
}

Win32SerialPort::~Win32SerialPort() {
    CloseHandle(handle_);
}

bool Win32SerialPort::writeBytes(const std::uint8_t* data, std::size_t count) {
    if (count > MAXDWORD) return false;
    DWORD written = 0;
    if (!WriteFile(handle_, data, static_cast<DWORD>(count), &written, nullptr)) return false;
    // A write cut short by the write time-out did not go out whole.
    if (written != count) return false;
    // Returns once the transmit queue has drained or another line event came. A driver that
    // cannot wait (Wine on a pty answers "not supported") simply goes on.
    WaitCommEvent(handle_, &eventWord_, nullptr);
    return true;
}

bool Win32SerialPort::setFirstByteWait(DWORD ms) {
    if (ms == firstByteWaitMs_) return true;
    COMMTIMEOUTS timeouts;
    ZeroMemory(&timeouts, sizeof(timeouts));
    GetCommTimeouts(handle_, &timeouts);
    // MAXDWORD, MAXDWORD and a constant: a read returns at once with the bytes waiting, or
    // waits for the first one up to the constant. MAXDWORD, 0, 0: it never waits.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = ms > 0 ? MAXDWORD : 0;
    timeouts.ReadTotalTimeoutConstant = ms;
    timeouts.WriteTotalTimeoutMultiplier = 10;
    timeouts.WriteTotalTimeoutConstant = 1000;
    if (!SetCommTimeouts(handle_, &timeouts)) {
        firstByteWaitMs_ = MAXDWORD;
        return false;
    }
    firstByteWaitMs_ = ms;
    return true;
}

std::size_t Win32SerialPort::readAvailable(std::uint8_t* buffer, std::size_t most) {
    if (buffer == nullptr || most == 0) return 0;
    std::size_t got = 0;
    if (heldByte_ >= 0) {
        buffer[got++] = static_cast<std::uint8_t>(heldByte_);
        heldByte_ = -1;
    }
    DWORD errors = 0;
    COMSTAT status;
    ZeroMemory(&status, sizeof(status));
    if (!ClearCommError(handle_, &errors, &status)) return got;
    // Never more than is waiting, so the read returns at once whatever its time-outs.
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(status.cbInQue, most - got));
    if (wanted == 0) return got;
    DWORD read = 0;
    if (!ReadFile(handle_, buffer + got, wanted, &read, nullptr)) return got;
    return got + std::min<std::size_t>(read, wanted);
}

WaitResult Win32SerialPort::waitReadable(std::uint32_t timeoutMs) {
    if (heldByte_ >= 0) return WaitResult::Ready;
    DWORD errors = 0;
    COMSTAT status;
    ZeroMemory(&status, sizeof(status));
    if (!ClearCommError(handle_, &errors, &status)) return WaitResult::Failed;
    if (status.cbInQue > 0) return WaitResult::Ready;
    if (timeoutMs == 0) return WaitResult::TimedOut;
    // The comm API has no wait with a time limit outside overlapped I/O, but a read of one
    // byte with a first-byte time-out is one: it returns the moment a byte arrives.
    for (std::uint32_t left = timeoutMs; left > 0;) {
        drainMessages();
        const std::uint32_t piece = std::min(left, kLongestWaitMs);
        if (!setFirstByteWait(piece)) break;
        std::uint8_t byte = 0;
        DWORD read = 0;
        if (!ReadFile(handle_, &byte, 1, &read, nullptr)) return WaitResult::Failed;
        if (read == 1) {
            heldByte_ = byte;
            return WaitResult::Ready;
        }
        left -= piece;
        if (left == 0) return WaitResult::TimedOut;
    }
    // A driver that refuses the time-outs: look at the input queue in short sleeps.
    for (std::uint32_t waited = 0;; waited += kWaitStepMs) {
        ZeroMemory(&status, sizeof(status));
        if (!ClearCommError(handle_, &errors, &status)) return WaitResult::Failed;
        if (status.cbInQue > 0) return WaitResult::Ready;
        if (waited >= timeoutMs) return WaitResult::TimedOut;
        drainMessages();
        Sleep(std::min(kWaitStepMs, timeoutMs - waited));
    }
}

void Win32SerialPort::flushOutput() {
    FlushFileBuffers(handle_);
}

void Win32SerialPort::setDtr(int on) {
    EscapeCommFunction(handle_, (on & 0xFF) != 0 ? SETDTR : CLRDTR);
}

void Win32SerialPort::setRts(int on) {
    EscapeCommFunction(handle_, (on & 0xFF) != 0 ? SETRTS : CLRRTS);
}

int Win32SerialPort::readModemLines() {
    DWORD status = 0;
    if (!GetCommModemStatus(handle_, &status)) return 0;
    int lines = 0;
    if ((status & MS_CTS_ON) != 0) lines |= 1;
    if ((status & MS_DSR_ON) != 0) lines |= 2;
    if ((status & MS_RING_ON) != 0) lines |= 4;
    if ((status & MS_RLSD_ON) != 0) lines |= 8;
    return lines;
}

void Win32SerialPort::clearLineErrors() {
    DWORD errors = 0;
    COMSTAT status;
    ZeroMemory(&status, sizeof(status));
    ClearCommError(handle_, &errors, &status);
}

void Win32SerialPort::drainMessages() {
    // Messages are taken off the queue and dropped, never dispatched.
    MSG message;
    for (int i = 0; i < kMostMessagesPerDrain; ++i) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) break;
    }
}

std::unique_ptr<SerialPort> openDevicePort(const std::string& path, bool baud19200,
                                           Console& console, int traceLevel, PortFailure& failure) {
    return Win32SerialPort::open(path, baud19200, console, traceLevel, failure);
}

}  // namespace lorvex
