#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/exchange_file.h"
#include "temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lorvex {
namespace {

using coretest::TempDir;

struct Line {
    std::string text;
    bool lineFeed;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Line& l) {
    return os << '"' << l.text << '"' << (l.lineFeed ? "+LF" : "");
}

std::vector<Line> readAll(const std::filesystem::path& path) {
    auto file = ExchangeFile::openForLoad(path);
    EXPECT_NE(file, nullptr);
    std::vector<Line> lines;
    if (!file) return lines;
    std::string text;
    bool lineFeed = false;
    while (file->readLine(text, &lineFeed)) lines.push_back({text, lineFeed});
    EXPECT_FALSE(file->readFailed());
    return lines;
}

TEST(ExchangeFileRead, SplitsLinesAndPiecesLikeTheRegistersPcDid) {
    const std::string x199(199, 'x');
    struct Case {
        const char* what;
        std::string contents;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"LF lines", "KAS1,A\nKAS2,B\n", {{"KAS1,A", true}, {"KAS2,B", true}}},
        {"CR LF lines load the same", "KAS1,A\r\nKAS2,B\r\n", {{"KAS1,A", true}, {"KAS2,B", true}}},
        {"a last line without LF", "KAS1,A\nKAS2,B", {{"KAS1,A", true}, {"KAS2,B", false}}},
        {"a last line without LF after CR LF", "A\r\nB", {{"A", true}, {"B", false}}},
        {"a lone CR stays in the line", "A\rB\nC\r", {{"A\rB", true}, {"C\r", false}}},
        {"empty lines", "\n\r\n", {{"", true}, {"", true}}},
        {"an empty file", "", {}},
        {"199 bytes and LF are one line", x199 + "\n", {{x199, true}}},
        {"199 bytes and CR LF are one line", x199 + "\r\n", {{x199, true}}},
        {"a longer line comes in pieces",
         std::string(450, 'y') + "\nZ\n",
         {{std::string(199, 'y'), false},
          {std::string(199, 'y'), false},
          {std::string(52, 'y'), true},
          {"Z", true}}},
        {"a CR LF after 200 bytes",
         std::string(200, 'y') + "\r\n",
         {{std::string(199, 'y'), false}, {"y", true}}},
        {"a CR as the 200th byte not followed by LF",
         x199 + "\rq\n",
         {{x199, false}, {"\rq", true}}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        coretest::writeText(dir / "std.dat", c.contents);
        EXPECT_EQ(readAll(dir / "std.dat"), c.lines);
    }
}

// Line ends that fall on the edge of the read-ahead must not be lost or doubled.
TEST(ExchangeFileRead, ReadsLargeFilesWithoutLosingALine) {
    std::string contents;
    std::vector<Line> expected;
    for (int i = 0; i < 12000; ++i) {
        std::string line =
            "PLU" + std::to_string(i) + "," + std::string(static_cast<std::size_t>(i % 7), 'a');
        contents += line + (i % 3 == 0 ? "\r\n" : "\n");
        expected.push_back({line, true});
    }
    TempDir dir;
    coretest::writeText(dir / "big.dat", contents);
    EXPECT_EQ(readAll(dir / "big.dat"), expected);
}

TEST(ExchangeFileRead, OpensOnlyFilesThatCanEnd) {
    TempDir dir;
    EXPECT_EQ(ExchangeFile::openForLoad(dir / "missing.dat"), nullptr);
    EXPECT_EQ(ExchangeFile::openForLoad(dir.path()), nullptr);
#ifndef _WIN32
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(ExchangeFile::openForLoad(dir / "pipe"), nullptr) << "would wait for a writer";
    auto empty = ExchangeFile::openForLoad("/dev/null");
    ASSERT_NE(empty, nullptr);
    std::string line;
    EXPECT_FALSE(empty->readLine(line));
#endif
}

TEST(ExchangeFileRead, ALoadFileWritesNothing) {
    TempDir dir;
    coretest::writeText(dir / "std.dat", "DEP1\n");
    auto file = ExchangeFile::openForLoad(dir / "std.dat");
    ASSERT_NE(file, nullptr);
    file->write("KAS1\n");
    EXPECT_TRUE(file->commit());
    file.reset();
    EXPECT_EQ(coretest::readText(dir / "std.dat"), "DEP1\n");
}

}  // namespace
}  // namespace lorvex
