#include <gtest/gtest.h>

#include <string>

#include "core/exchange_file.h"
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

using coretest::readText;
using coretest::TempDir;
using coretest::writeText;

std::size_t entries(const std::filesystem::path& dir) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++count;
    return count;
}

#ifdef _WIN32
constexpr const char* kLineEnd = "\r\n";
#else
constexpr const char* kLineEnd = "\n";
#endif

// The user's old file is replaced only by a complete new one, and only on commit.
TEST(ExchangeFileDump, CommitReplacesAndDiscardKeepsTheOldFile) {
    enum class End { Commit, Discard, Destroy };
    struct Case {
        const char* what;
        bool oldFile;
        End end;
        std::string expected;  // what the file holds afterwards; "-" when it must not exist
    };
    const std::string written = std::string("DEP1,x") + kLineEnd + "DEP2,y" + kLineEnd;
    const Case cases[] = {
        {"commit over an old file", true, End::Commit, written},
        {"commit a new file", false, End::Commit, written},
        {"discard keeps the old file", true, End::Discard, "OLD\n"},
        {"discard creates nothing", false, End::Discard, "-"},
        {"a dump never committed keeps the old file", true, End::Destroy, "OLD\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto path = dir / "std.dat";
        if (c.oldFile) writeText(path, "OLD\n");
        auto file = ExchangeFile::openForDump(path);
        ASSERT_NE(file, nullptr);
        file->write("DEP1,x\n");
        file->write("DEP2,y\n");
        EXPECT_EQ(file->temporaryPath().parent_path(), dir.path());
        EXPECT_EQ(file->temporaryPath().filename().string().rfind(".std.dat.lorvex-", 0), 0u);
        EXPECT_TRUE(std::filesystem::exists(file->temporaryPath()));
        EXPECT_EQ(std::filesystem::exists(path), c.oldFile) << "nothing replaced before commit";
        if (c.oldFile) {
            EXPECT_EQ(readText(path), "OLD\n");
        }
        switch (c.end) {
            case End::Commit:
                EXPECT_TRUE(file->commit());
                EXPECT_TRUE(file->commit()) << "a second commit changes nothing";
                break;
            case End::Discard:
                file->discard();
                break;
            case End::Destroy:
                break;
        }
        file.reset();
        if (c.expected == "-") {
            EXPECT_FALSE(std::filesystem::exists(path));
        } else {
            EXPECT_EQ(readText(path), c.expected);
        }
        EXPECT_EQ(entries(dir.path()), c.expected == "-" ? 0u : 1u) << "no temporary file left";
    }
}

TEST(ExchangeFileDump, RefusesWhatCannotBeWritten) {
    TempDir dir;
    EXPECT_EQ(ExchangeFile::openForDump(dir / "no-such-dir" / "std.dat"), nullptr);
    EXPECT_EQ(ExchangeFile::openForDump(dir.path()), nullptr);
}

#ifndef _WIN32
TEST(ExchangeFileDump, KeepsThePermissionsOfTheReplacedFile) {
    TempDir dir;
    const auto path = dir / "std.dat";
    writeText(path, "OLD\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    auto file = ExchangeFile::openForDump(path);
    ASSERT_NE(file, nullptr);
    file->write("NEW\n");
    ASSERT_TRUE(file->commit());
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ExchangeFileDump, WritesThroughASymlinkAndKeepsTheLink) {
    TempDir dir;
    std::filesystem::create_directory(dir / "data");
    writeText(dir / "data" / "real.dat", "OLD\n");
    std::filesystem::create_symlink("data/real.dat", dir / "std.dat");
    std::filesystem::create_symlink("data/new.dat", dir / "dangling.dat");
    for (const char* name : {"std.dat", "dangling.dat"}) {
        auto file = ExchangeFile::openForDump(dir / name);
        ASSERT_NE(file, nullptr);
        file->write("NEW\n");
        ASSERT_TRUE(file->commit());
        EXPECT_TRUE(std::filesystem::is_symlink(dir / name)) << name;
    }
    EXPECT_EQ(readText(dir / "data" / "real.dat"), "NEW\n");
    EXPECT_EQ(readText(dir / "data" / "new.dat"), "NEW\n");
}

TEST(ExchangeFileDump, ARefusedWriteOnADeviceIsAFailedCommit) {
    TempDir dir;
    std::filesystem::create_symlink("/dev/full", dir / "std.dat");
    auto file = ExchangeFile::openForDump(dir / "std.dat");
    ASSERT_NE(file, nullptr);
    file->write("DEP1\n");
    EXPECT_FALSE(file->commit());
    EXPECT_TRUE(file->writeFailed());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "std.dat"));

    auto sink = ExchangeFile::openForDump("/dev/null");
    ASSERT_NE(sink, nullptr);
    sink->write("DEP1\n");
    EXPECT_TRUE(sink->commit());
}

TEST(ExchangeFileDump, AVanishedTemporaryFileKeepsTheOldFile) {
    TempDir dir;
    const auto path = dir / "std.dat";
    writeText(path, "OLD\n");
    auto file = ExchangeFile::openForDump(path);
    ASSERT_NE(file, nullptr);
    file->write("NEW\n");
    std::filesystem::remove(file->temporaryPath());
    EXPECT_FALSE(file->commit());
    EXPECT_EQ(readText(path), "OLD\n");
}

// A full disk: the child's file size limit makes every write past 8 bytes fail.
TEST(ExchangeFileDump, AFullDiskKeepsTheOldFile) {
    TempDir dir;
    const auto path = dir / "std.dat";
    writeText(path, "OLD\n");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{8, 8};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
        auto file = ExchangeFile::openForDump(path);
        if (!file) _exit(3);
        for (int i = 0; i < 1000; ++i) file->write("PLU123456789,CHLEB\n");
        _exit(file->commit() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readText(path), "OLD\n");
    EXPECT_EQ(entries(dir.path()), 1u) << "the temporary file is removed";
}

TEST(ExchangeFileDump, AReadOnlyFileIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write any file";
    TempDir dir;
    const auto path = dir / "std.dat";
    writeText(path, "OLD\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(ExchangeFile::openForDump(path), nullptr);
}
#endif

}  // namespace
}  // namespace lorvex
