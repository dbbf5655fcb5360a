// The lorvex binary reaching lorvex-sim through ser2net, raw and with RFC 2217 port control: each
// job leaves the same files and the same register as over the local pty; a connection ser2net
// drops ends the run in bounded time; a refused one is named on stderr.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

#include "support/sim_session.h"
#include "support/table_builder.h"

namespace lorvex::test {
namespace {

const std::string kSer2net = "/usr/sbin/ser2net";

// A port free on every address (the system picks it for port 0).
int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// A script that starts ser2net serving the pty on `port` (raw, or with RFC 2217 port control),
// waits until the kernel's table shows it listening (a trial connection would make ser2net open
// the pty and hold it a moment after), runs `then`, stops ser2net and exits with `then`'s status.
std::string withSer2net(const TempDir& dir, const std::string& device, int port, bool rfc2217,
                        const std::string& then) {
    dir.write("ser2net.yaml",
              "connection: &c\n  accepter: " + std::string(rfc2217 ? "telnet(rfc2217)," : "") +
                  "tcp,127.0.0.1," + std::to_string(port) + ",\n  connector: serialdev," + device +
                  ",9600n81,local\n  options:\n    chardelay: false\n");
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", port);
    return kSer2net + " -n -u -c '" + (dir / "ser2net.yaml").string() + "' -P '" +
           (dir / "ser2net.pid").string() + "' & s=$!; for i in $(seq 100); do grep -q ':" + hex +
           " .* 0A ' /proc/net/tcp && break; sleep 0.05; done; " + then +
           "; r=$?; kill $s 2>/dev/null; wait $s; exit $r";
}

struct NetJob {
    const char* name;
    std::string args;
    Files input;
};

class NetworkJob : public ::testing::TestWithParam<NetJob> {};

// The files a job leaves and the register's memory after it, over the pty or through ser2net.
Files runJob(const NetJob& job, bool network, bool rfc2217) {
    SimSession session({"--state", "R"});
    EXPECT_TRUE(session.ok) << session.error;
    session.dir.write(job.input);
    TempDir server("lorvex-e2e-ser2net");
    const int port = freePort();
    const std::string lorvex = "$L " +
                               (!network  ? std::string("/P1")
                                : rfc2217 ? "/PRFC2217:localhost:" + std::to_string(port) + " /B"
                                          : "/PTCP:127.0.0.1:" + std::to_string(port)) +
                               " " + job.args;
    const ProcessResult run =
        shell(session.dir.path(),
              network ? withSer2net(server, session.sim.device(), port, rfc2217, lorvex) : lorvex,
              120000);
    EXPECT_EQ(run.exitCode, 0) << lorvex << run.out << run.err;
    EXPECT_EQ(session.sim.stop(), 0) << session.sim.errorText();
    return session.files();
}

TEST_P(NetworkJob, SameFilesAndRegisterAsOverThePty) {
    if (!std::filesystem::exists(kSer2net)) GTEST_SKIP() << "ser2net is not installed";
    const Files reference = runJob(GetParam(), false, false);
    ASSERT_FALSE(reference.count("error.orv")) << reference.at("error.orv");
    EXPECT_EQ(runJob(GetParam(), true, false), reference) << "raw TCP";
    EXPECT_EQ(runJob(GetParam(), true, true), reference) << "RFC 2217";
}

std::string productTable() {
    std::vector<TableGood> goods;
    for (int i = 0; i < 5; ++i) goods.push_back({5900000000000.0 + i * 17, "Towar"});
    return goodsTable(goods);
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, NetworkJob,
    ::testing::Values(
        NetJob{"DepartmentDump", "/CG /FDEPS.TXT", {}},
        NetJob{"DepartmentLoad",
               "/CG /L /FDEPS.TXT",
               {{"DEPS.TXT", "DEP 1,Pieczywo,0,C,0000,1\nDEP 2,Nabia\x88,1.50,A,0000,2\n"}}},
        // The header record is filled out with 0xFF bytes: the Telnet layer must undouble them.
        NetJob{"HeaderDump", "/CB /FHDR.TXT", {}},
        NetJob{"ChainedGoodsLoad", "/CH /L /FTOW.DAT", {{"TOW.DAT", productTable()}}},
        NetJob{"ZeroingReport", "/CK /R /FREP.TXT", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NetworkPort, DroppedAndRefusedConnections) {
    if (!std::filesystem::exists(kSer2net)) GTEST_SKIP() << "ser2net is not installed";
    SimSession session({"--line-time"});
    ASSERT_TRUE(session.ok) << session.error;
    session.dir.write("DEPS.TXT", "the earlier dump\n");
    TempDir server("lorvex-e2e-ser2net");
    const int port = freePort();
    const std::string tcp = "/PTCP:127.0.0.1:" + std::to_string(port);

    // ser2net is killed in the middle of a department dump: the run ends well within the time
    // limit, as with a pulled adapter, the loss is said, and the earlier file stays.
    const ProcessResult dropped =
        shell(session.dir.path(),
              withSer2net(server, session.sim.device(), port, false,
                          "$L " + tcp + " /CG /FDEPS.TXT & l=$!; sleep 2; kill -9 $s; wait $l"),
              44000);
    EXPECT_EQ(dropped.exitCode, 0) << "ended by itself";
    EXPECT_NE(dropped.err.find("departments not tried"), std::string::npos) << dropped.err;
    EXPECT_EQ(session.files().at("DEPS.TXT"), "the earlier dump\n");

    // Nobody listens there any more.
    const ProcessResult refused = session.lorvex({tcp, "/CG", "/FDEPS.TXT"}, 20000);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(tcp.substr(2) + ": Connection refused"), std::string::npos)
        << refused.err;
    EXPECT_EQ(session.sim.stop(), 0) << session.sim.errorText();
}

}  // namespace
}  // namespace lorvex::test
