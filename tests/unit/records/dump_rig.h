#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/exchange_writer.h"
#include "core/run.h"
#include "link/frame.h"
#include "link/status_log.h"

namespace lorvex::testing {

// The register's side of one dump transaction as bytes: the ACKs to the enquiry and the request,
// one frame per text (ETX on the last unless `allEtb`, then a bare EOT), and the closing EOT
// unless the line goes quiet. No texts: the register closes without answering.
inline std::string answerBytes(const std::vector<std::string>& texts, bool allEtb = false,
                               bool quietAfter = false) {
    std::string bytes{char(ACK), char(ACK)};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const bool last = i + 1 == texts.size();
        bytes += char(STX) + texts[i] + char(last && !allEtb ? ETX : ETB) + "0000";
    }
    if (!quietAfter) bytes += char(EOT);
    return bytes;
}

// A dump run against a register that plays `bytes` whatever it is sent, writing its exchange
// file in a fresh directory. Nothing waits: silence runs out the virtual clock's time-outs.
class DumpRig final : public SerialPort {
  public:
    explicit DumpRig(const std::string& bytes) : out_(bytes.begin(), bytes.end()) {
        std::filesystem::create_directories(dir_);
        file_ = ExchangeWriter::open(dir_ / "std.dat");
        run = std::make_unique<Run>(Run{settings_,
                                        console_,
                                        clock_,
                                        link_,
                                        log_,
                                        nullptr,
                                        file_.get(),
                                        nullptr,
                                        0,
                                        {},
                                        0,
                                        0,
                                        {}});
    }
    ~DumpRig() override {
        run.reset();
        file_.reset();
        log_.close();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // The exchange file as it stands once committed.
    std::string written() {
        file_->commit();
        std::ifstream in(dir_ / "std.dat", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    bool writeBytes(const std::uint8_t*, std::size_t) override { return true; }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override {
        std::size_t n = 0;
        for (; n < most && !out_.empty(); ++n, out_.pop_front()) buffer[n] = out_.front();
        return n;
    }
    WaitResult waitReadable(std::uint32_t) override {
        return out_.empty() ? WaitResult::TimedOut : WaitResult::Ready;
    }
    void flushOutput() override {}
    void setDtr(int) override {}
    void setRts(int) override {}
    int readModemLines() override { return 0; }

  private:
    std::deque<char> out_;
    std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
    Settings settings_;
    CapturingConsole console_;
    VirtualClock clock_;
    RegisterLink link_{*this, clock_, console_, 0};
    StatusLog log_{dir_ / "error.orv", CharsetMode::Mazovia, 0, console_};
    std::unique_ptr<ExchangeWriter> file_;

  public:
    std::unique_ptr<Run> run;
};

}  // namespace lorvex::testing
