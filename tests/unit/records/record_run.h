#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "core/exchange_writer.h"
#include "core/run.h"
#include "link/register_link.h"
#include "link/status_log.h"
#include "scripted_register.h"

namespace lorvex::testing {

// A dump run of record operations against a scripted register, writing its exchange file in a
// fresh directory.
class RecordRun {
  public:
    RecordRun() {
        file_ = ExchangeWriter::open(dir_ / "std.dat");
        run = std::make_unique<Run>(
            Run{settings_, console_, clock_, link_, log_, nullptr, file_.get(), nullptr, 0, {}, 0});
    }
    ~RecordRun() {
        run.reset();
        file_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // The exchange file as it stands once committed.
    std::string written() {
        file_->commit();
        std::ifstream in(dir_ / "std.dat", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    ScriptedRegister reg;
    std::unique_ptr<Run> run;

  private:
    static std::filesystem::path freshDir() {
        static int serial = 0;
        const auto dir =
            std::filesystem::temp_directory_path() / ("lorvex-records-" + std::to_string(++serial));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        return dir;
    }

    std::filesystem::path dir_ = freshDir();
    Settings settings_;
    CapturingConsole console_;
    VirtualClock clock_;
    RegisterLink link_{reg, clock_, console_, 0};
    StatusLog log_{dir_ / "error.orv", CharsetMode::Mazovia, 0, console_};
    std::unique_ptr<ExchangeWriter> file_;
};

}  // namespace lorvex::testing
