// The /J result of the real program, against docs/lorvex-result.schema.json, and the Python
// example the README shows.

#include <string>

#include "support/sim_session.h"

namespace lorvex::test {
namespace {

ProcessResult python(std::vector<std::string> args, const std::filesystem::path& dir) {
    args.insert(args.begin(), "python3");
    return runProcess("/usr/bin/env", args, dir, 60000);
}

TEST(ResultFile, RealRunsMatchTheSchemaAndTheExampleReadsThem) {
    if (python({"-c", "import jsonschema"}, ".").exitCode != 0)
        GTEST_SKIP() << "python3 with jsonschema (python3-jsonschema) is not installed";
    const std::string docs = std::string(LORVEX_SOURCE_DIR) + "/docs/";
    SimSession session({"--error", "h:2:7"});
    ASSERT_TRUE(session.ok) << session.error;
    session.dir.write("L.TXT", "KDW42,77\nKDW1,12345678901234567890\nKDW59002741,77\n");

    const ProcessResult example =
        python({docs + "examples/run_lorvex.py", "--lorvex", kLorvexBinary, "/CY", "/L", "/FL.TXT"},
               session.dir.path());
    EXPECT_EQ(example.exitCode, 0) << example.err;
    EXPECT_EQ(example.out,
              "outcome: partial (exit code 0)\n"
              "line 2: 63  Złe dane w pliku\n"
              "line 3: 07  Przekroczona wartość numeryczna - 3, kod: \n");
    EXPECT_EQ(session.lorvex({"/CD", "/FKAS.TXT", "/Jdump.json"}).exitCode, 0);
    EXPECT_EQ(session.lorvex({"/CD", "/PNOPE", "/Jfail.json"}).exitCode, 1);
    // A register that never answers.
    SimSession dead({"--silence"});
    ASSERT_TRUE(dead.ok) << dead.error;
    EXPECT_EQ(dead.lorvex({"/CG", "/FDEPS.TXT", "/Jdead.json"}).exitCode, 0);
    session.dir.write("DEAD.JSON", readText(dead.dir / "DEAD.JSON"));

    const ProcessResult valid =
        python({"-m", "jsonschema", "-i", "RESULT.JSON", "-i", "DUMP.JSON", "-i", "FAIL.JSON", "-i",
                "DEAD.JSON", docs + "lorvex-result.schema.json"},
               session.dir.path());
    EXPECT_EQ(valid.exitCode, 0) << valid.out << valid.err;
    EXPECT_EQ(session.sim.stop(), 0) << session.sim.errorText();
}

}  // namespace
}  // namespace lorvex::test
