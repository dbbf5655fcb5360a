#include <gtest/gtest.h>

#include "core/exchange_reader.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lorvex {
namespace {

using namespace test;

// Each line as read, with "+" when it ended in a line feed, and "!" for each line refused.
std::string readAll(const std::filesystem::path& path, bool utf8 = false) {
    auto file = ExchangeReader::open(path);
    if (!file) return "(not opened)";
    if (utf8) file->useUtf8();
    std::string lines, text;
    bool lineFeed = false;
    while (file->readLine(text, &lineFeed)) {
        lines += file->lineUnsendable() ? "!|" : text + (lineFeed ? "+|" : "|");
    }
    EXPECT_FALSE(file->readFailed());
    return lines;
}

TEST(ExchangeFileRead, SplitsLinesAndPieces) {
    const std::string x(199, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"KAS1,A\nKAS2,B", "KAS1,A+|KAS2,B|"},
        {"A\r\nB\r\n", "A+|B+|"},
        {"A\rB\nC\r", "A\rB+|C\r|"},
        {"\n\r\n", "+|+|"},
        {x + "\r\n", x + "+|"},
        {std::string(450, 'x') + "\nZ\n", x + "|" + x + "|" + std::string(52, 'x') + "+|Z+|"},
        {x + "\rq\n", x + "|\rq+|"},
    };
    TempDir dir;
    for (const auto& [contents, lines] : cases) {
        writeText(dir / "std.dat", contents);
        EXPECT_EQ(readAll(dir / "std.dat"), lines) << contents.substr(0, 20);
    }
    // Line ends on the edge of the read-ahead are neither lost nor doubled.
    std::string big, expected;
    for (int i = 0; i < 12000; ++i) {
        const std::string line = "PLU" + std::to_string(i) + std::string(i % 7u, 'a');
        big += line + (i % 3 == 0 ? "\r\n" : "\n");
        expected += line + "+|";
    }
    writeText(dir / "big.dat", big);
    EXPECT_EQ(readAll(dir / "big.dat"), expected);

    EXPECT_EQ(readAll(dir / "missing.dat"), "(not opened)");
    EXPECT_EQ(readAll(dir.path()), "(not opened)");
#ifndef _WIN32
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(readAll(dir / "pipe"), "(not opened)") << "would wait for a writer";
    EXPECT_EQ(readAll("/dev/null"), "");
#endif
}

// UTF-8 lines come out in code page 852, pieces counted in characters; a line with a character
// code page 852 lacks or with bytes that are not the shortest UTF-8 form of a character is refused
// whole, so an overlong NUL or comma never reaches a field.
TEST(ExchangeFileRead, Utf8LinesAreConvertedOrRefusedWhole) {
    std::string zz;
    for (int i = 0; i < 250; ++i) zz += "ż";
    const std::pair<std::string, std::string> cases[] = {
        {"\xEF\xBB\xBFĄb\n", "\244b+|"},
        {zz + "\n", std::string(199, '\xBE') + "|" + std::string(51, '\xBE') + "+|"},
        {"x€\n", "!|"},                                    // no place in code page 852
        {"y\xC3\nok", "!|ok|"},                            // a cut sequence
        {"A\300\200B\n", "!|"},                            // overlong NUL
        {"DEP1\xC0\xACX\n", "!|"},                         // overlong comma
        {"\xED\xA0\x80\n", "!|"},                          // a surrogate
        {"\xF4\x90\x80\x80\n\xF5\x80\x80\x80\n", "!|!|"},  // above U+10FFFF
        {"\xDF\xBF\xC2\xA0ó\n", "!|"},                     // the non-breaking space
        {"ˇ\n", "\xF3+|"},                                 // a lead byte with all its value bits
        // A four-byte character is one unsendable place: the piece ends after it.
        {std::string(198, 'a') + "\xF4\x8F\xBF\xBF" + "b\n", "!|b+|"},
    };
    TempDir dir;
    for (const auto& [contents, lines] : cases) {
        writeText(dir / "IN.TXT", contents);
        EXPECT_EQ(readAll(dir / "IN.TXT", true), lines) << contents;
    }
}

}  // namespace
}  // namespace lorvex
