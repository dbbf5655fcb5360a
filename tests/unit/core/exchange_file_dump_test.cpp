#include <gtest/gtest.h>

#include "core/exchange_writer.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lorvex {
namespace {

using namespace test;
namespace fs = std::filesystem;

// The file as it stands ("-" when absent), and how many entries its directory holds.
std::string state(const fs::path& path) {
    const auto entries = std::distance(fs::directory_iterator(path.parent_path()), {});
    return (fs::exists(path) ? readText(path) : "-") + "/" + std::to_string(entries);
}

// The user's old file is replaced only by a complete new one, only on commit, through a
// temporary file beside it that never stays behind.
TEST(ExchangeFileDump, CommitReplacesAndDiscardKeepsTheOldFile) {
    enum class End { Commit, Discard, Destroy };
    // A CR LF already there is not doubled.
    const std::string written = textLinesEndInCrLf() ? "DEP1\r\nDEP2\r\n" : "DEP1\r\nDEP2\n";
    const struct {
        bool oldFile;
        End end;
        std::string expected;
    } cases[] = {{true, End::Commit, written + "/1"},
                 {false, End::Commit, written + "/1"},
                 {true, End::Discard, "OLD\n/1"},
                 {false, End::Discard, "-/0"},
                 {true, End::Destroy, "OLD\n/1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        TempDir dir;
        const auto path = dir / "std.dat";
        if (c.oldFile) writeText(path, "OLD\n");
        auto file = ExchangeWriter::open(path);
        ASSERT_NE(file, nullptr);
        file->write("DEP1\r\nDEP2\n");
        EXPECT_EQ(state(path), c.oldFile ? "OLD\n/2" : "-/1");
        if (c.end == End::Commit) {
            EXPECT_TRUE(file->commit().ok() && file->commit().ok());
        }
        if (c.end == End::Discard) file->discard();
        file.reset();
        EXPECT_EQ(state(path), c.expected);
    }
    TempDir dir;
    EXPECT_EQ(ExchangeWriter::open(dir / "no-such-dir" / "std.dat"), nullptr);
    EXPECT_EQ(ExchangeWriter::open(dir.path()), nullptr);
}

#ifndef _WIN32
// Replacing must not cut the user's links or loosen the file's permissions.
TEST(ExchangeFileDump, KeepsLinksAndPermissions) {
    TempDir dir;
    fs::create_directory(dir / "data");
    writeText(dir / "data" / "real.dat", "OLD\n");
    ASSERT_EQ(chmod((dir / "data" / "real.dat").c_str(), 0640), 0);
    fs::create_symlink("data/real.dat", dir / "std.dat");
    fs::create_symlink("data/new.dat", dir / "dangling.dat");
    for (const char* name : {"std.dat", "dangling.dat"}) {
        auto file = ExchangeWriter::open(dir / name);
        ASSERT_NE(file, nullptr);
        file->write("NEW\n");
        ASSERT_TRUE(file->commit().ok());
        EXPECT_TRUE(fs::is_symlink(dir / name)) << name;
    }
    EXPECT_EQ(readText(dir / "data" / "real.dat"), "NEW\n");
    EXPECT_EQ(readText(dir / "data" / "new.dat"), "NEW\n");
    EXPECT_EQ(fs::status(dir / "data" / "real.dat").permissions(), fs::perms(0640));
}

// Every way a dump can fail to reach the disk is a failed commit with the system's reason, and
// the old file stays.
TEST(ExchangeFileDump, AFailedWriteIsAFailedCommitAndKeepsTheOldFile) {
    TempDir dir;
    fs::create_symlink("/dev/full", dir / "full.dat");
    auto full = ExchangeWriter::open(dir / "full.dat");
    ASSERT_NE(full, nullptr);
    full->write("DEP1\n");
    EXPECT_EQ(full->commit().failure, "No space left on device");

    writeText(dir / "std.dat", "OLD\n");
    auto vanished = ExchangeWriter::open(dir / "std.dat");
    ASSERT_NE(vanished, nullptr);
    vanished->write("NEW\n");
    fs::remove(vanished->temporaryPath());
    EXPECT_EQ(vanished->commit().failure, "No such file or directory");
    EXPECT_EQ(readText(dir / "std.dat"), "OLD\n");

    EXPECT_TRUE(onAFullDisk(8, [&] {
        auto file = ExchangeWriter::open(dir / "std.dat");
        for (int i = 0; file && i < 1000; ++i) file->write("PLU123456789,CHLEB\n");
        return file && !file->commit().ok();
    }));
    EXPECT_EQ(state(dir / "std.dat"), "OLD\n/2") << "the temporary file is removed";

    auto sink = ExchangeWriter::open("/dev/null");
    ASSERT_NE(sink, nullptr);
    sink->write("DEP1\n");
    EXPECT_TRUE(sink->commit().ok());
}

// Root may write any file, so root makes the run as nobody, in a child process.
TEST(ExchangeFileDump, ReadOnlyFilesStayAndReadOnlyDirectoriesAreWrittenInPlace) {
    TempDir dir;
    const bool root = geteuid() == 0;
    for (const char* name : {"std.dat", "ro.dat"}) writeText(dir / name, "OLD\n");
    for (const fs::path& path : {dir.path(), dir / "std.dat", dir / "ro.dat"})
        ASSERT_TRUE(!root || ::chown(path.c_str(), 65534, 65534) == 0);
    fs::permissions(dir / "ro.dat", fs::perms(0444));
    fs::permissions(dir.path(), fs::perms(0555));
    const auto run = [&] {
        auto file = ExchangeWriter::open(dir / "std.dat");
        if (ExchangeWriter::open(dir / "ro.dat") != nullptr || file == nullptr) return false;
        file->write("NEW\n");
        return readText(dir / "std.dat") == "OLD\n" && file->commit().ok() &&
               readText(dir / "std.dat") == "NEW\n";
    };
    const pid_t child = root ? ::fork() : -1;
    if (child == 0) ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && run() ? 0 : 1);
    int status = 1;
    EXPECT_TRUE(root ? ::waitpid(child, &status, 0) == child && status == 0 : run());
    fs::permissions(dir.path(), fs::perms(0755));
}
#endif

}  // namespace
}  // namespace lorvex
