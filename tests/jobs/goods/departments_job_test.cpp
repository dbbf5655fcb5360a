#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobs/job_texts.h"
#include "support/job_harness.h"

namespace lorvex::test {
namespace {

std::string request(int mode, int number) {
    const std::string n =
        (number < 10 ? "00000000000000000" : "0000000000000000") + std::to_string(number);
    return "SH" + std::to_string(mode) + n + n;
}

TEST(DepartmentJob, DumpAsksForAll42WhateverFails) {
    JobHarness harness;
    harness.faults().errorAt('H', 10, 26);
    const JobResult run = harness.run({"/CG", "/S3"});
    const std::string file = run.file("std.dat");
    EXPECT_EQ(file.substr(0, 45), "DEP 1,Pieczywo          ,      0.00,C,0000,1\n");
    EXPECT_NE(file.find("\nDEP32,Opakowania zwrotne,      0.50,D,0100,4\n"), std::string::npos);
    EXPECT_EQ(file.find("DEP10"), std::string::npos);
    EXPECT_NE(file.find("DEP11"), std::string::npos);
    EXPECT_EQ(run.pcFrames().back(), request(0, 42));  // asked for one by one up to the last
    EXPECT_FALSE(run.has("error.orv"));                // only the last status is reported
}

TEST(DepartmentJob, LoadSendsEachLineOrReportsWhatDoesNotFit) {
    JobHarness harness;
    harness.file("std.dat",
                 "DEP 5,Napoje,3.5,A,0000,1\nDEP 6,Owoce,abc,B,0000,1\nKAS 1,Anna,1234\n"
                 "XDEP 7,Nie,1,A,0000,1\nDEP12,Woda gazowana i niegazowana,12.5,B,01011,3\r\n"
                 "DEP99,Za drogo,100000000,C,0000,1\nDEP 7,Soki");
    const JobResult run = harness.run({"/L", "/CG", "/S3", "/U1"});
    const std::vector<std::string> expected = {
        request(1, 5),  "DH005Napoje                   350A000001",
        request(1, 12), "DH012Woda gazowana i ni      1250B010103",
        request(1, 7),  "DH007Soki" + std::string(23, ' ') + "0" + std::string(5, ' ') + "00",
    };
    EXPECT_EQ(run.pcFrames(), expected);
    EXPECT_EQ(run.errorLog(), kNotice + kBadData + kBadData);  // DEP 6 (text as price), DEP99
    // The register gets its rest after a refused line too.
    const auto ms = [](const std::string& file) {
        return runJob({"/L", "/CG"}, {{"std.dat", file}}).virtualMs;
    };
    EXPECT_EQ(ms("DEP 6,Owoce,abc,B,0000,1\n"), ms("KAS 1,Anna,1234\n") + 100);
}

}  // namespace
}  // namespace lorvex::test
