#pragma once

#include <memory>
#include <optional>
#include <string>

#include "link/serial_port.h"

namespace lorvex {

// A /P value naming a port on the network: TCP:<host>:<port> (a raw byte stream) or
// RFC2217:<host>:<port> (Telnet with port control). IPv6 hosts go in brackets.
struct NetworkAddress {
    bool portControl = false;  // RFC 2217
    std::string host;
    std::string service;
};

// Nothing when the value names no network port.
std::optional<NetworkAddress> parseNetworkAddress(const std::string& portValue);

// Connects (at most 5 seconds) and, with RFC 2217, sets the line to 8N1 at 9600 or 19200 baud
// without flow control and raises DTR and RTS. Null with `failure` filled when it cannot.
std::unique_ptr<SerialPort> openNetworkPort(const NetworkAddress& address, bool baud19200,
                                            PortFailure& failure);

}  // namespace lorvex
