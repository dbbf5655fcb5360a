#include <gtest/gtest.h>

#include <fstream>

#include "link/open_port.h"
#include "support/temp_dir.h"

namespace lorvex::test {
namespace {

TEST(ResolvePortPath, PortNumbersAndDeviceNames) {
    TempDir dir;
    std::ofstream(dir.path() / "cOm3").put('x');
    const std::string local = (dir.path() / "cOm3").string();
    struct Case {
        std::string value;
        int number;
        std::string path;
    };
    const Case cases[] = {
        {"3", 3, local},         // an entry beside the files, any letter case
        {" +3", 3, local},       // blanks and a sign still make a number
        {"4", 4, "/dev/ttyS3"},  // else the machine's own port
        {"12", 12, "/dev/ttyS11"},
        {"0", 0, ""},  // outside 1..12 nothing opens
        {"13", 13, ""},
        {"", 0, ""},
        {"NULL", 0, "/dev/null"},  // a device name, matched without regard to case
        {"../ETC/PASSWD", 0, ""},  // never a path out of /dev
        {"NOSUCHDEVICE42", 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resolvePortPath(c.value, c.number, dir.path()), c.path) << '"' << c.value << '"';
    }
}

}  // namespace
}  // namespace lorvex::test
