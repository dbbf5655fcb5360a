#include <gtest/gtest.h>

#include <algorithm>

#include "core/file_names.h"
#include "support/temp_dir.h"

namespace lorvex {
namespace {

using test::TempDir;

#ifndef _WIN32
// The command line upper-cases /F; the user's files keep their own case.
TEST(FileNames, FindsTheUsersFileWhateverTheCaseOfTheName) {
    const struct {
        std::vector<std::string> files;  // under the work dir
        std::string name;
        std::string expected;
    } cases[] = {
        {{"dane.txt"}, "DANE.TXT", "dane.txt"},
        {{"inne.txt"}, "DANE.TXT", "DANE.TXT"},
        {{"dane.txt", "DANE.TXT"}, "DANE.TXT", "DANE.TXT"},
        {{"dane.txt", "Dane.txt"}, "DANE.TXT", "Dane.txt"},  // the first in byte order
        {{"sklep/dane.txt"}, "SKLEP/DANE.TXT", "sklep/dane.txt"},
        {{"sklep/inne.txt"}, "SKLEP/NOWY.TXT", "sklep/NOWY.TXT"},
        {{"sklep/inne.txt", "dane.txt"}, "./SKLEP/../DANE.TXT", "./sklep/../dane.txt"},
        {{"Sklep/dane.txt"}, "SKLEP\\DANE.TXT", "Sklep/dane.txt"},
        {{"sklep/inne.txt"}, ".\\SKLEP\\NOWY.TXT", "./sklep/NOWY.TXT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " -> " + c.expected);
        TempDir dir;
        for (const std::string& f : c.files) dir.write(f, "x");
        EXPECT_EQ(resolveFileName(dir.path(), c.name), dir / c.expected);
    }
    TempDir dir;
    dir.write("dane.txt", "x");
    EXPECT_EQ(resolveFileName("/no-such-work-dir", (dir / "DANE.TXT").string()), dir / "dane.txt")
        << "an absolute name ignores the work dir";
    std::string windowsStyle = (dir / "DANE.TXT").string();
    std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');
    EXPECT_EQ(resolveFileName("/no-such-work-dir", windowsStyle), dir / "dane.txt");
}
#endif

}  // namespace
}  // namespace lorvex
