#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "core/exchange_file.h"
#include "core/run.h"
#include "link/register_link.h"
#include "link/status_log.h"
#include "scripted_register.h"

namespace lorvex::testing {

// One run of record operations against a scripted register, with its own exchange file and
// error log in a fresh directory.
class RecordRun {
  public:
    explicit RecordRun(Direction direction, const std::string& fileContent = {}, int traceLevel = 0,
                       CharsetMode mode = CharsetMode::Mazovia) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        static int serial = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("lorvex_records_" + std::string(info->name()) + "_" + std::to_string(++serial));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        settings.direction = direction;
        settings.traceLevel = traceLevel;
        settings.charsetMode = mode;
        const auto path = dir_ / "std.dat";
        if (direction == Direction::Load) {
            std::ofstream(path, std::ios::binary) << fileContent;
            file = ExchangeFile::openForLoad(path);
        } else {
            file = ExchangeFile::openForDump(path);
        }
        link = std::make_unique<RegisterLink>(reg, clock, console, traceLevel);
        log = std::make_unique<StatusLog>(dir_ / "error.orv", mode, traceLevel, console);
        run = std::make_unique<Run>(
            Run{settings, console, clock, *link, *log, file.get(), nullptr, 0, {}, 0});
    }
    ~RecordRun() {
        run.reset();
        log.reset();
        file.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // The dump's file as it stands once committed.
    std::string written() {
        file->commit();
        return readAll(dir_ / "std.dat");
    }
    std::string errorLog() {
        log->close();
        return readAll(dir_ / "error.orv");
    }

    Settings settings;
    CapturingConsole console;
    VirtualClock clock;
    ScriptedRegister reg;
    std::unique_ptr<ExchangeFile> file;
    std::unique_ptr<RegisterLink> link;
    std::unique_ptr<StatusLog> log;
    std::unique_ptr<Run> run;

  private:
    static std::string readAll(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path dir_;
};

}  // namespace lorvex::testing
