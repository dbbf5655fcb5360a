#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "record_run.h"
#include "records/cards.h"
#include "records/cashiers.h"
#include "records/discounts.h"
#include "records/flags.h"
#include "records/halo.h"
#include "records/header_footer.h"

namespace lorvex {
namespace {

using testing::RecordRun;
using testing::Reply;

const std::string kZeros(18, '0');
const std::string kFill(1, static_cast<char>(0xFF));

using LoadLine = std::function<LineResult(lorvex::Run&, std::string_view)>;

LineResult loadCashierPositive(lorvex::Run& r, std::string_view line) {
    return loadCashierLine(r, line, CashierCodeRule::PositiveOnly);
}
LineResult loadCashierNonZero(lorvex::Run& r, std::string_view line) {
    return loadCashierLine(r, line, CashierCodeRule::NonZero);
}
LineResult loadDirectCodeClearing(lorvex::Run& r, std::string_view line) {
    return loadDirectCodeLine(r, line, DirectCodeRule::ZeroClears);
}
LineResult loadDirectCodePositive(lorvex::Run& r, std::string_view line) {
    return loadDirectCodeLine(r, line, DirectCodeRule::PositiveOnly);
}

// "DE", then fields of ten places: the two given, then zeros.
std::string haloRecordOf(const std::string& first, const std::string& second) {
    std::string record = "DE" + std::string(10 - first.size(), ' ') + first +
                         std::string(10 - second.size(), ' ') + second;
    for (int i = 2; i < 15; ++i) record += std::string(9, ' ') + "0";
    return record;
}

struct SentCase {
    const char* line;
    LoadLine load;
    std::string request;
    std::string record;
};

TEST(LoadOperations, LinesToExactRequestsAndRecords) {
    const std::string loadRequestZeros = "1" + kZeros + kZeros;
    const SentCase cases[] = {
        {"NAG,SKLEP,Polna 1", loadHeaderLine, "SB" + loadRequestZeros,
         "DBSKLEP\nPolna 1" + std::string(217 - 13, kFill[0])},
        // The footer is filled like the header, without any line end of its own.
        {"STP,DZI\x91KUJEMY", loadFooterLine, "SC" + loadRequestZeros,
         "DCDZI\xA9KUJEMY" + std::string(200 - 10, kFill[0])},
        {"KAS03,JAN               ,1234", loadCashierPositive,
         "SD1" + kZeros.substr(1) + "3" + kZeros.substr(1) + "3", "DD3JAN               1234"},
        // A hand-written short code fills its four places with blanks, nothing of the line end.
        {"KAS12,EWA,12", loadCashierPositive,
         "SD1" + kZeros.substr(2) + "12" + kZeros.substr(2) + "12", "DDCEWA               12  "},
        {"KAS4,ZENON,-7", loadCashierNonZero,
         "SD1" + kZeros.substr(1) + "4" + kZeros.substr(1) + "4", "DD4ZENON             -7  "},
        {"FLG, 1, 0,12,255,16, 0, 9", loadFlagsLine, "SA" + loadRequestZeros, "DA01000cff100009"},
        {"FLS,1,2,3,4,5,6,7,8,9", loadSolvekFlagsLine, "Ss" + loadRequestZeros,
         "Ds01020304" + std::string(12, '0') + "0506070809" + std::string(10, '0')},
        {"HAL,12.5,0.004", loadHaloLine, "SE" + loadRequestZeros, haloRecordOf("1250", "0")},
        {"RAB,12.5,-5,0,0,3.99", loadDiscountsLine, "SG" + loadRequestZeros,
         "DG01250-050000000000000000000399" + std::string(30, '0')},
        {"BEZ 3,0", loadDirectCodeClearing, "SJ1" + kZeros.substr(1) + "3" + kZeros.substr(1) + "3",
         "DJ03" + std::string(18, ' ')},
        {"BEZ42,5900000000001", loadDirectCodePositive,
         "SJ1" + kZeros.substr(2) + "42" + kZeros.substr(2) + "42", "DJ42     5900000000001"},
        {"KRT    7,5,12,0,0,0,0,0,0,0,0,1,2,AB,3,4,5", loadDiscountCardLine,
         "Sj1" + kZeros.substr(1) + "7" + kZeros.substr(1) + "7",
         "Dj0005012" + std::string(24, '0') + "012AB    03405"},
        {"KDW5900000000001,12", loadLinkedCodeLine, "Sh" + loadRequestZeros,
         "Dh     5900000000001" + std::string(16, ' ') + "12"},
    };
    for (const SentCase& c : cases) {
        SCOPED_TRACE(c.line);
        RecordRun r(Direction::Load);
        r.reg.replies.push_back(Reply::accepted());
        const LineResult result = c.load(*r.run, c.line);
        EXPECT_EQ(result.kind, LineResult::Sent);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(r.reg.requests, std::vector<std::string>{c.request});
        EXPECT_EQ(r.reg.records, std::vector<std::string>{c.record});
    }
}

TEST(LoadOperations, RegisterStatusComesBack) {
    RecordRun r(Direction::Load);
    r.reg.replies.push_back(Reply::accepted("E0035"));
    r.reg.replies.push_back(Reply::quiet());
    EXPECT_EQ(loadFlagsLine(*r.run, "FLG,1").status, 35);
    const LineResult silent = loadHaloLine(*r.run, "HAL,1");
    EXPECT_EQ(silent.kind, LineResult::Sent);
    EXPECT_EQ(silent.status, kNoAnswer);
}

TEST(LoadOperations, LinesLeftOutOrRejectedSendNothing) {
    struct Case {
        const char* line;
        LoadLine load;
        LineResult::Kind kind;
    };
    const Case cases[] = {
        // Not the job's line: the prefix must start the line.
        {"XKAS01,JAN,1234", loadCashierPositive, LineResult::Skipped},
        {"FLG1,2,3", loadFlagsLine, LineResult::Skipped},
        {"NAGLOWEK", loadHeaderLine, LineResult::Skipped},
        {"KDW", loadDiscountCardLine, LineResult::Skipped},
        // Job rules.
        {"KAS01,JAN,0", loadCashierPositive, LineResult::Skipped},
        {"KAS01,JAN,", loadCashierPositive, LineResult::Skipped},
        {"KAS01,JAN,-12", loadCashierPositive, LineResult::Skipped},
        {"KAS01,JAN,ABCD", loadCashierNonZero, LineResult::Skipped},
        {"BEZ 3,0", loadDirectCodePositive, LineResult::Skipped},
        {"BEZ 3,-5", loadDirectCodePositive, LineResult::Skipped},
        // Values that do not fit their places.
        {"KAS30,JAN,1234", loadCashierPositive, LineResult::Rejected},
        {"KAS-1,JAN,1234", loadCashierNonZero, LineResult::Rejected},
        {"FLG,1,2,256", loadFlagsLine, LineResult::Rejected},
        {"FLS,0,0,0,0,0,0,0,0,-1", loadSolvekFlagsLine, LineResult::Rejected},
        {"HAL,0,100000000", loadHaloLine, LineResult::Rejected},
        {"HAL,inf", loadHaloLine, LineResult::Rejected},
        {"RAB,1000", loadDiscountsLine, LineResult::Rejected},
        {"RAB,0,0,0,0,0,0,0,100000000", loadDiscountsLine, LineResult::Rejected},
        {"BEZ43,1", loadDirectCodeClearing, LineResult::Rejected},
        {"BEZ 0,1", loadDirectCodeClearing, LineResult::Rejected},
        {"BEZ 1,1234567890123456789", loadDirectCodePositive, LineResult::Rejected},
        {"KRT1,1000", loadDiscountCardLine, LineResult::Rejected},
        {"KRT-1,1", loadDiscountCardLine, LineResult::Rejected},
        {"KRT1,0,0,0,0,0,0,0,0,0,0,0,10", loadDiscountCardLine, LineResult::Rejected},
        {"KDW1,1e19", loadLinkedCodeLine, LineResult::Rejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        RecordRun r(Direction::Load);
        r.reg.replies.push_back(Reply::accepted());
        const LineResult result = c.load(*r.run, c.line);
        EXPECT_EQ(result.kind, c.kind);
        if (c.kind == LineResult::Rejected) {
            EXPECT_EQ(result.status, kBadFileData);
        }
        EXPECT_EQ(r.reg.enquiries, 0);
    }
}

TEST(LoadOperations, TracesAtLevelOne) {
    RecordRun r(Direction::Load, {}, 1, CharsetMode::Latin);
    r.reg.replies.push_back(Reply::accepted());
    r.reg.replies.push_back(Reply::accepted());
    loadFooterLine(*r.run, "STP,A,B");
    loadCashierPositive(*r.run, "KAS02,JAN,0042");
    const std::string& shown = r.console.text();
    EXPECT_NE(shown.find("A\nB\n"), std::string::npos);
    EXPECT_NE(shown.find("STP>DCA\nB"), std::string::npos);
    EXPECT_NE(shown.find("2,JAN,42\n"), std::string::npos);
    EXPECT_NE(shown.find("KAS>DD2JAN               0042\n"), std::string::npos);
}

TEST(LoadOperations, OtherDirectionsDoNothing) {
    RecordRun r(Direction::Load);
    std::string text = "X";
    std::array<int, 7> flags{};
    HaloTable halo{};
    long long code = 1;
    EXPECT_EQ(transferHeader(*r.run, 2, text), 0);
    EXPECT_EQ(transferFlags(*r.run, -1, flags), 0);
    EXPECT_EQ(transferHalo(*r.run, 5, halo), 0);
    EXPECT_EQ(transferDirectCode(*r.run, 3, 1, code), 0);
    EXPECT_EQ(transferLinkedCode(*r.run, 2, LinkedCode{}), 0);
    EXPECT_EQ(r.reg.enquiries, 0);
}

}  // namespace
}  // namespace lorvex
