// The lorvex binary reaching lorvex-sim through ser2net, raw and with RFC 2217 port control: each
// job leaves the same files and the same register as over the local pty; a connection ser2net
// drops ends the run in bounded time; a refused one is named on stderr.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "support/processes.h"
#include "support/table_builder.h"
#include "support/temp_dir.h"

extern char** environ;

namespace lorvex::test {
namespace {

using namespace std::chrono_literals;

std::string ser2netProgram() {
    for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net", "/usr/local/sbin/ser2net"}) {
        if (std::filesystem::exists(path)) return path;
    }
    return {};
}

int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// The port is listened on (read from the kernel's table: a trial connection would make ser2net
// open the pty and hold it a moment after).
bool listening(int port) {
    char local[16];
    std::snprintf(local, sizeof local, ":%04X ", port);
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream lines(table);
        for (std::string line; std::getline(lines, line);) {
            if (line.find(local) != std::string::npos && line.find(" 0A ") != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

// ser2net in the foreground, serving one pty raw on one port and with RFC 2217 on another.
class Ser2net {
  public:
    Ser2net(const TempDir& dir, const std::string& device) {
        const std::string line = ",\n  connector: serialdev," + device +
                                 ",9600n81,local\n  options:\n    chardelay: false\n";
        dir.write("ser2net.yaml",
                  "connection: &raw\n  accepter: tcp,127.0.0.1," + std::to_string(raw) + line +
                      "connection: &rfc\n  accepter: telnet(rfc2217),tcp,127.0.0.1," +
                      std::to_string(rfc2217) + line);
        const std::string program = ser2netProgram();
        const std::string config = (dir.path() / "ser2net.yaml").string();
        const std::string pidFile = (dir.path() / "ser2net.pid").string();
        std::vector<std::string> args{program, "-n", "-u", "-c", config, "-P", pidFile};
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        for (int i = 0; i < 100 && pid_ > 0 && !(listening(raw) && listening(rfc2217)); ++i)
            std::this_thread::sleep_for(50ms);
    }
    ~Ser2net() { stop(SIGTERM); }
    void stop(int signal) {
        if (pid_ <= 0) return;
        ::kill(pid_, signal);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    const int raw = freePort();
    const int rfc2217 = freePort();

  private:
    pid_t pid_ = -1;
};

std::string productTable() {
    std::vector<TableGood> goods;
    for (int i = 0; i < 5; ++i)
        goods.push_back({.code = 5900000000000.0 + i * 17,
                         .name = "Towar " + std::to_string(i),
                         .price = 2.5 + i});
    return goodsTable(goods);
}

struct NetJob {
    const char* name;
    std::vector<std::string> args;
    bool emptyRegister;
    Files input;
};

const std::string kDepartments =
    "DEP 1,Pieczywo          ,      0.00,C,0000,1\nDEP 2,Nabia\x88            ,      "
    "1.50,A,0000,2\n";

class NetworkJob : public ::testing::TestWithParam<NetJob> {};

// The files a job leaves and the register's memory after it, reached through the port options
// `via` gives for the simulator's pty.
Files runJob(const NetJob& job,
             const std::function<std::vector<std::string>(const std::string&)>& via) {
    TempDir dir("lorvex-e2e-net");
    dir.write(job.input);
    SimProcess sim;
    std::string error;
    std::vector<std::string> simArgs{"--state", "REG.STATE"};
    if (job.emptyRegister) simArgs.push_back("--empty");
    EXPECT_TRUE(sim.start(dir.path(), simArgs, error)) << error;
    std::vector<std::string> args = via(sim.device());
    args.insert(args.end(), job.args.begin(), job.args.end());
    const ProcessResult run = runLorvex(args, dir.path(), 120000);
    EXPECT_EQ(run.exitCode, 0) << args[0] << run.out << run.err;
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
    return dir.read();
}

TEST_P(NetworkJob, SameFilesAndRegisterAsOverThePty) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    if (ser2netProgram().empty()) GTEST_SKIP() << "ser2net is not installed";
    const NetJob& job = GetParam();
    const Files reference =
        runJob(job, [](const std::string&) { return std::vector<std::string>{"/P1"}; });
    ASSERT_FALSE(reference.count("error.orv")) << reference.at("error.orv");
    TempDir server("lorvex-e2e-ser2net");
    std::unique_ptr<Ser2net> ser2net;
    for (const bool portControl : {false, true}) {
        const auto via = [&](const std::string& device) {
            ser2net = std::make_unique<Ser2net>(server, device);
            if (!portControl)
                return std::vector<std::string>{"/PTCP:127.0.0.1:" + std::to_string(ser2net->raw)};
            return std::vector<std::string>{
                "/PRFC2217:localhost:" + std::to_string(ser2net->rfc2217), "/B"};
        };
        const Files network = runJob(job, via);
        EXPECT_EQ(network, reference) << (portControl ? "RFC 2217" : "raw TCP");
        ser2net.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, NetworkJob,
    ::testing::Values(
        NetJob{"DepartmentDump", {"/CG", "/FDEPS.TXT"}, false, {}},
        NetJob{"DepartmentLoad", {"/CG", "/L", "/FDEPS.TXT"}, true, {{"DEPS.TXT", kDepartments}}},
        // The header record is filled out with 0xFF bytes: the Telnet layer must undouble them.
        NetJob{"HeaderDump", {"/CB", "/FHDR.TXT"}, false, {}},
        NetJob{"ChainedGoodsLoad", {"/CH", "/L", "/FTOW.DAT"}, true, {{"TOW.DAT", productTable()}}},
        NetJob{"ZeroingReport", {"/CK", "/R", "/FREP.TXT"}, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NetworkPort, DroppedAndRefusedConnections) {
    std::string why;
    if (!endToEndAvailable(why)) GTEST_SKIP() << why;
    if (ser2netProgram().empty()) GTEST_SKIP() << "ser2net is not installed";
    TempDir dir("lorvex-e2e-net");
    dir.write("DEPS.TXT", "the earlier dump\n");
    SimProcess sim;
    std::string error;
    ASSERT_TRUE(sim.start(dir.path(), {"--line-time"}, error)) << error;
    Ser2net ser2net(dir, sim.device());
    const std::string port = "/PTCP:127.0.0.1:" + std::to_string(ser2net.raw);

    // ser2net goes away in the middle of a goods dump: the run ends soon after, as with a pulled
    // adapter, the loss is logged, and what was read up to then is whole lines.
    auto dump = std::async(std::launch::async, [&] {
        return runLorvex({port, "/CH", "/A", "/FPLU.TXT"}, dir.path(), 60000);
    });
    std::this_thread::sleep_for(4s);
    ser2net.stop(SIGKILL);
    const auto dropped = std::chrono::steady_clock::now();
    const ProcessResult run = dump.get();
    EXPECT_FALSE(run.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - dropped, 40s);
    const Files files = dir.read();
    EXPECT_TRUE(files.count("error.orv"));
    const std::string plu = files.count("PLU.TXT") ? files.at("PLU.TXT") : "";
    EXPECT_EQ(plu.substr(0, 3), "PLU");
    EXPECT_EQ(plu.back(), '\n');
    for (std::size_t at = 0; (at = plu.find('\n', at)) + 1 < plu.size(); ++at) {
        EXPECT_EQ(plu.substr(at + 1, 3), "PLU") << at;
    }

    // Nobody listens there any more.
    const ProcessResult refused = runLorvex({port, "/CG", "/FDEPS.TXT"}, dir.path(), 20000);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(
        refused.err.find("TCP:127.0.0.1:" + std::to_string(ser2net.raw) + ": Connection refused"),
        std::string::npos)
        << refused.err;
    EXPECT_EQ(dir.read().at("DEPS.TXT"), "the earlier dump\n");
    EXPECT_EQ(sim.stop(), 0) << sim.errorText();
}

}  // namespace
}  // namespace lorvex::test
