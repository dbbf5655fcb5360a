#pragma once

#include <string>

namespace lorvex::sim {

// The register served on a TCP port of 127.0.0.1, one client at a time: the next one is taken
// when the last has gone, the way a device server hands its line on.
class TcpLink {
  public:
    TcpLink() = default;
    ~TcpLink();
    TcpLink(const TcpLink&) = delete;
    TcpLink& operator=(const TcpLink&) = delete;

    // Listens on the port (0: one the system picks). False with a message when it cannot.
    bool open(int port, std::string& error);
    // The port listened on, as a link name: "TCP 127.0.0.1:<port>".
    std::string linkName() const;

    int listenFd() const { return listen_; }
    // -1 while no client is connected.
    int clientFd() const { return client_; }
    // Takes the waiting client, if any.
    void acceptClient();
    void dropClient();

  private:
    int listen_ = -1;
    int client_ = -1;
    int port_ = 0;
};

}  // namespace lorvex::sim
