// Every record and request the register refuses, with the status it refuses it with; a refused
// record changes nothing. Each case spoils one field of a good record; the job tests load the
// good records themselves and meet a few refusals of their own (a missing tandem, card 0).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/register_model.h"
#include "sim/state_file.h"
#include "sim/status_codes.h"
#include "sim/wire_fields.h"

namespace lorvex::sim {
namespace {

using namespace status;

// "S", the letter, the mode and the two numbers zero-padded to 18 digits.
std::string request(char letter, int mode, int first = 0, int second = 0) {
    return std::string("S") + letter + std::to_string(mode) + zeroPadded(first, 18) +
           zeroPadded(second, 18);
}

std::string at(std::string text, std::size_t position, const std::string& with) {
    return text.replace(position, with.size(), with);
}

const std::string kDepartment = "DH105Napoje                   350A000001";
const std::string kPlu = "DI1" + rightNumber(1234, 18) + "Chleb             " + "       450" +
                         "C100000" + "0100" + std::string(18, ' ');
const std::string kCashier = "DD3JAN               1234";
const std::string kFlags = "DA01000cff100009";
const std::string kSolvek =
    "Ds01020304" + std::string(12, '0') + "0506070809" + std::string(10, '0');
const std::string kHalo = "DE" + std::string(150, '0');  // fifteen amounts of 0
// Rates 12.50, 5.00, 0 and 99.99 %; amounts 3.99, 0, 100.00 and 0.02.
const std::string kDiscount = "DG012500050000000099990000000399000000000000000100000000000002";
const std::string kCard = "Dj0005012012012012012012012012012102AB    05130";
const std::string kLinked = "Dh" + rightNumber(5900000000001, 18) + rightNumber(12, 18);
const std::string kHeader = "DBSKLEP\r\n" + std::string(210, '\xFF');

struct Case {
    const char* why;
    std::string request;
    std::string record;  // none: a dump request
    int code;
};

const std::string kPluLoad = request('I', 1, 1234, 999999999);

const std::vector<Case> kCases = {
    {"department 43", request('H', 1, 43, 43), at(kDepartment, 3, "43"), kBadIndex},
    {"numbers disagree", request('H', 1, 5, 5), at(kDepartment, 3, "06"), kBadStart},
    {"action digit", request('H', 1, 5, 5), at(kDepartment, 2, "2"), kBadTask},
    {"control in name", request('H', 1, 5, 5), at(kDepartment, 7, "\x01"), kBadName},
    {"amount too large", request('H', 1, 5, 5), at(kDepartment, 23, " 100000000"), kValueTooLarge},
    {"letter in amount", request('H', 1, 5, 5), at(kDepartment, 28, "x"), kBadDigits},
    {"no VAT G", request('H', 1, 5, 5), at(kDepartment, 33, "G"), kBadVat},
    {"flag x", request('H', 1, 5, 5), at(kDepartment, 34, "00x0"), kBadFlag},
    {"one character long", request('H', 1, 5, 5), kDepartment + " ", kBadTransmission},
    {"wrong kind", request('H', 1, 5, 5), "DI" + kDepartment.substr(2), kBadTransmission},

    {"code between ranges", kPluLoad, at(kPlu, 3, rightNumber(20000, 18)), kNoSuchItem},
    {"erase a missing good", kPluLoad, at(kPlu, 2, "0"), kNoSuchItem},
    {"department 0", kPluLoad, at(kPlu, 56, "00"), kBadIndex},
    {"halo 16", kPluLoad, at(kPlu, 58, "16"), kBadIndex},
    {"blank name", kPluLoad, at(kPlu, 21, std::string(18, ' ')), kBadName},
    {"letters in code", kPluLoad, at(kPlu, 15, "12a"), kBadDigits},
    {"a new good, base full", kPluLoad, kPlu, kPluBaseFull},
    {"a known good, base full", kPluLoad, at(kPlu, 3, rightNumber(8, 18)), kOk},

    {"cashier 30", request('D', 1, 30, 30), at(kCashier, 2, "0"), kBadIndex},
    {"cashier place", request('D', 1, 3, 3), at(kCashier, 2, "4"), kBadStart},
    {"flag not hex", request('A', 1), at(kFlags, 15, "G"), kBadFlag},
    {"SOLVEK fill", request('s', 1), at(kSolvek, 21, "x"), kBadFlag},
    {"halo at its bound", request('E', 1), at(kHalo, 2, "  99999999"), kOk},
    {"halo above its bound", request('E', 1), at(kHalo, 142, " 100000000"), kValueTooLarge},
    {"negative halo", request('E', 1), at(kHalo, 2, "      -100"), kValueTooLarge},
    {"rate of 100 %", request('G', 1), at(kDiscount, 2, "10000"), kValueTooLarge},
    {"card field", request('j', 1, 7, 7), at(kCard, 3, "0a5"), kBadDigits},
    {"linked to no code", request('h', 1), at(kLinked, 2, rightNumber(0, 18)), kNoSuchItem},
    {"unlink a missing pair", request('h', 1), at(kLinked, 20, rightNumber(0, 18)), kNoSuchItem},
    {"a new pair, table full", request('h', 1), kLinked, kPluBaseFull},
    {"control in header", request('B', 1), at(kHeader, 2, "\x01"), kBadName},
    {"short header", request('B', 1), "DB" + std::string(100, 'x'), kBadTransmission},

    {"dump slot 0", request('J', 0, 0, 0), "", kBadIndex},
    {"dump hour 24", request('l', 0, 24, 24), "", kBadIndex},
    {"no such letter", request('Q', 0), "", kBadTask},
    {"departments cannot be zeroed", request('H', 2, 1, 1), "", kBadTransmission},
    {"too short to be a request", "SH0", "", kBadTransmission},
    {"letter in a number", "SH0" + std::string(17, '0') + "x" + std::string(18, '0'), "",
     kBadStart},
};

// The goods and linked-code tables are full: a new entry is refused, a known one is rewritten.
TEST(RegisterRefusals, EachSpoiledFieldIsRefusedWithItsCodeAndChangesNothing) {
    for (const Case& c : kCases) {
        RegisterMemory memory = demoMemory();
        memory.pluCapacity = memory.plus.size();
        memory.linkedCodeCapacity = memory.linkedCodes.size();
        RegisterModel model(memory);
        Request parsed;
        int code = parseRequest(c.request, parsed);
        if (code == kOk) {
            code = c.record.empty() ? model.dump(parsed).error : model.load(parsed, c.record);
        }
        EXPECT_EQ(code, c.code) << c.why;
        if (c.code != kOk) {
            EXPECT_TRUE(stateText(model.memory()) == stateText(memory)) << c.why << " changed it";
        }
    }
}

}  // namespace
}  // namespace lorvex::sim
