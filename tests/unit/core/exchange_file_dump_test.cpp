#include <gtest/gtest.h>

#include "core/exchange_reader.h"
#include "core/exchange_writer.h"
#include "temp_dir.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lorvex {
namespace {

using namespace coretest;
namespace fs = std::filesystem;

std::size_t entries(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// The user's old file is replaced only by a complete new one, and only on commit.
TEST(ExchangeFileDump, CommitReplacesAndDiscardKeepsTheOldFile) {
    enum class End { Commit, Discard, Destroy };
#ifdef _WIN32
    const std::string written = "DEP1\r\nDEP2\r\n";
#else
    const std::string written = "DEP1\nDEP2\n";
#endif
    const struct {
        bool oldFile;
        End end;
        std::string expected;  // "-": the file must not exist
    } cases[] = {{true, End::Commit, written},
                 {false, End::Commit, written},
                 {true, End::Discard, "OLD\n"},
                 {false, End::Discard, "-"},
                 {true, End::Destroy, "OLD\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        TempDir dir;
        const auto path = dir / "std.dat";
        if (c.oldFile) writeText(path, "OLD\n");
        auto file = ExchangeWriter::open(path);
        ASSERT_NE(file, nullptr);
        file->write("DEP1\nDEP2\n");
        EXPECT_EQ(file->temporaryPath().parent_path(), dir.path());
        EXPECT_EQ(file->temporaryPath().filename().string().rfind(".std.dat.lorvex-", 0), 0u);
        EXPECT_EQ(fs::exists(path) ? readText(path) : "-", c.oldFile ? "OLD\n" : "-");
        if (c.end == End::Commit) {
            EXPECT_TRUE(file->commit().ok() && file->commit().ok());
        }
        if (c.end == End::Discard) file->discard();
        file.reset();
        EXPECT_EQ(fs::exists(path) ? readText(path) : "-", c.expected);
        EXPECT_EQ(entries(dir.path()), c.expected == "-" ? 0u : 1u) << "no temporary file left";
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
    struct stat st {};
    ASSERT_EQ(stat((dir / "data" / "real.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// Every way a dump can fail to reach the disk is a failed commit, and the old file stays.
TEST(ExchangeFileDump, AFailedWriteIsAFailedCommitAndKeepsTheOldFile) {
    TempDir dir;
    fs::create_symlink("/dev/full", dir / "full.dat");
    auto full = ExchangeWriter::open(dir / "full.dat");
    ASSERT_NE(full, nullptr);
    full->write("DEP1\n");
    EXPECT_FALSE(full->commit().ok());
    EXPECT_TRUE(fs::is_symlink(dir / "full.dat"));

    writeText(dir / "std.dat", "OLD\n");
    auto vanished = ExchangeWriter::open(dir / "std.dat");
    ASSERT_NE(vanished, nullptr);
    vanished->write("NEW\n");
    fs::remove(vanished->temporaryPath());
    EXPECT_FALSE(vanished->commit().ok());
    EXPECT_EQ(readText(dir / "std.dat"), "OLD\n");

    // A full disk, played by the child's file size limit.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8, 8};
        auto file =
            setrlimit(RLIMIT_FSIZE, &limit) == 0 ? ExchangeWriter::open(dir / "std.dat") : nullptr;
        if (!file) _exit(2);
        for (int i = 0; i < 1000; ++i) file->write("PLU123456789,CHLEB\n");
        _exit(file->commit().ok() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readText(dir / "std.dat"), "OLD\n");
    EXPECT_EQ(entries(dir.path()), 2u) << "the temporary file is removed";

    auto sink = ExchangeWriter::open("/dev/null");
    ASSERT_NE(sink, nullptr);
    sink->write("DEP1\n");
    EXPECT_TRUE(sink->commit().ok());
}

TEST(ExchangeFileDump, ReadOnlyFilesStayAndReadOnlyDirectoriesAreWrittenInPlace) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write any file";
    TempDir dir;
    writeText(dir / "std.dat", "OLD\n");
    writeText(dir / "ro.dat", "OLD\n");
    ASSERT_EQ(chmod((dir / "ro.dat").c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_EQ(ExchangeWriter::open(dir / "ro.dat"), nullptr);
    auto file = ExchangeWriter::open(dir / "std.dat");
    ASSERT_NE(file, nullptr);
    file->write("NEW\n");
    EXPECT_EQ(readText(dir / "std.dat"), "OLD\n");
    EXPECT_TRUE(file->commit().ok());
    EXPECT_EQ(readText(dir / "std.dat"), "NEW\n");
    chmod(dir.path().c_str(), 0755);
}
#endif

}  // namespace
}  // namespace lorvex
