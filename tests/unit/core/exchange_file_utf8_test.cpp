#include <gtest/gtest.h>

#include "core/exchange_reader.h"
#include "core/exchange_writer.h"
#include "temp_dir.h"

namespace lorvex {
namespace {

using namespace coretest;

TEST(ExchangeFileUtf8, PiecesCountCharactersAndBadLinesNeverComeOut) {
    TempDir dir;
    std::string zz;
    for (int i = 0; i < 250; ++i) zz += "ż";  // 500 bytes, 250 characters
    writeText(dir / "IN.TXT", "\xEF\xBB\xBFĄb\n" + zz + "\nx\xE2\x82\xAC\ny\xC3\nok\n");
    auto file = ExchangeReader::open(dir / "IN.TXT");
    ASSERT_TRUE(file);
    int refused = 0;
    file->useUtf8([&] { ++refused; });
    std::vector<std::string> lines;
    for (std::string line; file->readLine(line);) lines.push_back(line);
    const std::string cp852zz(199, '\xBE');
    EXPECT_EQ(lines, (std::vector<std::string>{"\xA4"
                                               "b",
                                               cp852zz, std::string(51, '\xBE'), "ok"}));
    EXPECT_EQ(refused, 2);  // the euro sign, and a cut sequence
}

TEST(ExchangeFileUtf8, DumpWritesUtf8) {
    TempDir dir;
    auto file = ExchangeWriter::open(dir / "OUT.TXT");
    ASSERT_TRUE(file);
    file->useUtf8();
    file->write("KAS01,\x9D\x75kasz\n");
    ASSERT_TRUE(file->commit().ok());
    EXPECT_EQ(readText(dir / "OUT.TXT"), "KAS01,Łukasz\n");
}

}  // namespace
}  // namespace lorvex
