// The real programs on pseudo-terminals, in real time: what lorvex dumps from the demo register
// loads into an empty one and dumps again to the same bytes.

#include <string>
#include <vector>

#include "e2e/e2e.h"

namespace lorvex::test {
namespace {

void expectClean(SimSession& session, const std::vector<std::string>& args) {
    const ProcessResult run = session.lorvex(args);
    EXPECT_FALSE(run.timedOut) << args[0];
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    const Files files = session.files();
    EXPECT_FALSE(files.count("error.orv")) << files.at("error.orv");
}

TEST(RoundTrips, ADumpLoadsIntoAnEmptyRegisterAndDumpsTheSame) {
    LORVEX_NEEDS_REAL_PROGRAMS();
    struct Case {
        std::vector<std::string> job;
        std::string
            loadFile;  // the /F of the load, matched against the file without regard to case
        std::string mustHave;
    };
    const Case cases[] = {
        {{"/CA"}, "/FFIRST.TXT", "FLG, 1, 0, 3,16, 0, 2, 9\n"},
        {{"/CD", "/S4"}, "/Ffirst.txt", "KAS01,Józef Wiśniewski"},  // Polish letters in UTF-8
        {{"/CH", "/A"}, "/FFIRST.TXT", "\nPLU"},  // goods in one chained transaction
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.job[0]);
        SimSession shop;
        SimSession empty({"--empty"});
        ASSERT_TRUE(shop.ok() && empty.ok()) << shop.error() << empty.error();
        expectClean(shop, c.job + "/FFIRST.TXT");
        const std::string first = shop.files()["FIRST.TXT"];
        EXPECT_NE(first.find(c.mustHave), std::string::npos) << first;

        empty.dir().write("FIRST.TXT", first);
        expectClean(empty, c.job + "/L" + c.loadFile);
        expectClean(empty, c.job + "/FAGAIN.TXT");
        EXPECT_EQ(empty.files()["AGAIN.TXT"], first);
        EXPECT_EQ(shop.stop(), 0) << shop.sim().errorText();
        EXPECT_EQ(empty.stop(), 0) << empty.sim().errorText();
    }
}

}  // namespace
}  // namespace lorvex::test
