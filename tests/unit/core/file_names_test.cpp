#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_names.h"
#include "temp_dir.h"

namespace lorvex {
namespace {

using coretest::TempDir;

#ifndef _WIN32
// The command line upper-cases /F; the user's files keep their own case.
TEST(FileNames, FindsTheUsersFileWhateverTheCaseOfTheName) {
    struct Case {
        const char* what;
        std::vector<std::string> files;  // created under the work dir, directories first
        std::string name;
        std::string expected;  // relative to the work dir
    };
    const Case cases[] = {
        {"a lower-case file", {"dane.txt"}, "DANE.TXT", "dane.txt"},
        {"a mixed-case file", {"Towary.Dat"}, "TOWARY.DAT", "Towary.Dat"},
        {"no such file: used as given", {"inne.txt"}, "DANE.TXT", "DANE.TXT"},
        {"an exact match wins", {"dane.txt", "DANE.TXT"}, "DANE.TXT", "DANE.TXT"},
        {"several matches: the first in byte order",
         {"dane.txt", "Dane.txt"},
         "DANE.TXT",
         "Dane.txt"},
        {"a directory part", {"sklep/", "sklep/dane.txt"}, "SKLEP/DANE.TXT", "sklep/dane.txt"},
        {"a missing directory: the rest as given",
         {"dane.txt"},
         "SKLEP/DANE.TXT",
         "SKLEP/DANE.TXT"},
        {"a new file in a matched directory", {"sklep/"}, "SKLEP/NOWY.TXT", "sklep/NOWY.TXT"},
        {"dot parts", {"sklep/", "dane.txt"}, "./SKLEP/../DANE.TXT", "./sklep/../dane.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const std::string& f : c.files) {
            if (f.back() == '/') {
                std::filesystem::create_directory(dir / f);
            } else {
                coretest::writeText(dir / f, "x");
            }
        }
        EXPECT_EQ(resolveFileName(dir.path(), c.name), dir / c.expected);
    }
}

TEST(FileNames, AnAbsoluteNameIgnoresTheWorkDir) {
    TempDir dir;
    coretest::writeText(dir / "dane.txt", "x");
    const std::string upper = (dir.path() / "DANE.TXT").string();
    EXPECT_EQ(resolveFileName("/nonexistent-work-dir", upper), dir / "dane.txt");
}
#else
TEST(FileNames, NamesAreUsedAsGiven) {
    EXPECT_EQ(resolveFileName("C:\\sklep", "DANE.TXT"),
              std::filesystem::path("C:\\sklep\\DANE.TXT"));
}
#endif

}  // namespace
}  // namespace lorvex
