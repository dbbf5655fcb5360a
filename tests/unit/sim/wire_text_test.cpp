// The simulator's small text tools: number fields as the register reads them, its own CP852
// table, and the readable transcript.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/cp852.h"
#include "sim/transcript.h"
#include "sim/wire_fields.h"

namespace lorvex::sim {
namespace {

TEST(WireFields, NumberFieldsAreBlanksSignAndDigitsOnly) {
    struct Case {
        std::string field;
        NumberField::Kind kind;
        std::int64_t value;
    };
    using K = NumberField::Kind;
    const std::vector<Case> cases = {
        {"      1250", K::Number, 1250},
        {"000000000000000007", K::Number, 7},
        {"     -1250", K::Number, -1250},
        {"          ", K::Blank, 0},
        {"", K::Blank, 0},
        {"12 ", K::Bad, 0},  // nothing may follow the digits
        {" 1 2", K::Bad, 0},
        {"-", K::Bad, 0},
        {"  +5", K::Bad, 0},
        {"12\n", K::Bad, 0},
        {"9999999999999999999", K::Number, 9223372036854775807},  // 19 digits: saturated
        {"99999999999999999999", K::Bad, 0},                      // 20 digits: no number
    };
    for (const Case& c : cases) {
        const NumberField field = readNumberField(c.field);
        EXPECT_EQ(field.kind, c.kind) << '"' << c.field << '"';
        if (c.kind == K::Number) {
            EXPECT_EQ(field.value(), c.value) << c.field;
        }
    }
}

TEST(WireFields, FixedWidthsNeverGrow) {
    EXPECT_EQ(rightNumber(1250, 10), "      1250");
    EXPECT_EQ(rightNumber(-450, 10), "      -450");
    EXPECT_EQ(rightNumber(123456789012, 10), "9999999999");
    EXPECT_EQ(rightNumber(-123456789012, 10), "-999999999");
    EXPECT_EQ(zeroPadded(7, 2), "07");
    EXPECT_EQ(zeroPadded(123, 2), "99");
    EXPECT_EQ(zeroPadded(-5, 3), "000");
    EXPECT_EQ(leftText("Napoje", 8), "Napoje  ");
    EXPECT_EQ(leftText("Artykuły dziecięce i inne", 4), "Arty");
    EXPECT_EQ(hexByte(255), "FF");
    EXPECT_EQ(readHexByte('c', 'F'), 0xCF);
    EXPECT_EQ(readHexByte('G', '0'), -1);
    EXPECT_EQ(magnitudeOf(INT64_MIN), INT64_MAX);
}

TEST(Cp852Letters, AllEighteenLettersGoBothWays) {
    const std::string letters = "ĄĆĘŃŁŚÓŹŻąćęńłśóźż";
    const std::string cp852 = cp852FromUtf8(letters);
    EXPECT_EQ(cp852, "\xA4\x8F\xA8\xE3\x9D\x97\xE0\x8D\xBD\xA5\x86\xA9\xE4\x88\x98\xA2\xAB\xBE");
    EXPECT_EQ(utf8FromCp852(cp852), letters);
    // Anything else is a question mark, and a broken UTF-8 sequence never reads past the text.
    EXPECT_EQ(cp852FromUtf8("é€x"), "??x");
    EXPECT_EQ(cp852FromUtf8("a\xC5"), "a?");
    EXPECT_EQ(cp852FromUtf8("\xE2\x82"), "??");
    EXPECT_EQ(utf8FromCp852("\xFF"
                            "A"),
              "?A");
}

TEST(TranscriptText, FramesAndReadableLines) {
    Transcript transcript;
    const std::string pc =
        "\x05\x02SA0\x03"
        "0131\x04";
    const std::string reg =
        "\x06\x02"
        "D\xA5\x17"
        "ABCD\x02"
        "E\x03"
        "0000";
    std::uint64_t us = 0;
    for (const char c : pc.substr(0, 1))
        transcript.add(Side::Pc, us += 1000, static_cast<std::uint8_t>(c));
    for (const char c : reg)
        transcript.add(Side::Register, us += 1000, static_cast<std::uint8_t>(c));
    for (const char c : pc.substr(1))
        transcript.add(Side::Pc, us += 1000, static_cast<std::uint8_t>(c));
    EXPECT_EQ(transcript.framesFrom(Side::Register), (std::vector<std::string>{"D\xA5", "E"}));
    EXPECT_EQ(transcript.framesFrom(Side::Pc), (std::vector<std::string>{"SA0"}));
    EXPECT_EQ(transcript.readable(),
              "        0.001 PC  <ENQ>\n"
              "        0.002 REG <ACK><STX>Dą<ETB>ABCD\n"
              "        0.011 REG <STX>E<ETX>0000\n"
              "        0.018 PC  <STX>SA0<ETX>0131\n"
              "        0.027 PC  <EOT>\n");
}

}  // namespace
}  // namespace lorvex::sim
