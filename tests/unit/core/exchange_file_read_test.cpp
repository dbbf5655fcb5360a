#include <gtest/gtest.h>

#include "core/exchange_reader.h"
#include "core/exchange_writer.h"
#include "temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lorvex {
namespace {

using namespace coretest;

// Each line as read, with "+" when it ended in a line feed.
std::vector<std::string> readAll(const std::filesystem::path& path) {
    auto file = ExchangeReader::open(path);
    std::vector<std::string> lines;
    if (!file) return {"(not opened)"};
    std::string text;
    bool lineFeed = false;
    while (file->readLine(text, &lineFeed)) lines.push_back(text + (lineFeed ? "+" : ""));
    EXPECT_FALSE(file->readFailed());
    return lines;
}

TEST(ExchangeFileRead, SplitsLinesAndPieces) {
    const std::string x(199, 'x');
    const struct {
        std::string contents;
        std::vector<std::string> lines;
    } cases[] = {
        {"KAS1,A\nKAS2,B\n", {"KAS1,A+", "KAS2,B+"}},
        {"KAS1,A\r\nKAS2,B\r\n", {"KAS1,A+", "KAS2,B+"}},
        {"KAS1,A\nKAS2,B", {"KAS1,A+", "KAS2,B"}},
        {"A\r\nB", {"A+", "B"}},
        {"A\rB\nC\r", {"A\rB+", "C\r"}},
        {"\n\r\n", {"+", "+"}},
        {"", {}},
        {x + "\n", {x + "+"}},
        {x + "\r\n", {x + "+"}},
        {std::string(450, 'x') + "\nZ\n", {x, x, std::string(52, 'x') + "+", "Z+"}},
        {x + "x\r\n", {x, "x+"}},
        {x + "\rq\n", {x, "\rq+"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.contents.substr(0, 20));
        writeText(dir / "std.dat", c.contents);
        EXPECT_EQ(readAll(dir / "std.dat"), c.lines);
    }
    writeText(dir / "std.dat", "DEP1\n");
    readAll(dir / "std.dat");
    EXPECT_EQ(readText(dir / "std.dat"), "DEP1\n");
}

// Line ends that fall on the edge of the read-ahead must not be lost or doubled.
TEST(ExchangeFileRead, ReadsLargeFilesWithoutLosingALine) {
    std::string contents;
    std::vector<std::string> expected;
    for (int i = 0; i < 12000; ++i) {
        const std::string line = "PLU" + std::to_string(i) + std::string(i % 7u, 'a');
        contents += line + (i % 3 == 0 ? "\r\n" : "\n");
        expected.push_back(line + "+");
    }
    TempDir dir;
    writeText(dir / "big.dat", contents);
    EXPECT_EQ(readAll(dir / "big.dat"), expected);
}

TEST(ExchangeFileRead, OpensOnlyFilesThatCanEnd) {
    TempDir dir;
    EXPECT_EQ(ExchangeReader::open(dir / "missing.dat"), nullptr);
    EXPECT_EQ(ExchangeReader::open(dir.path()), nullptr);
#ifndef _WIN32
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(ExchangeReader::open(dir / "pipe"), nullptr) << "would wait for a writer";
    EXPECT_EQ(readAll("/dev/null"), std::vector<std::string>{});
#endif
}

}  // namespace
}  // namespace lorvex
