#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/load_loop.h"
#include "core/run.h"
#include "link/register_link.h"
#include "text/charset.h"

namespace lorvex {

inline constexpr int kDepartmentCount = 42;

// The values one department transfer carries.
struct Department {
    int number = 0;
    std::string name;  // register letters on the wire, the /S letters in the file
    double amount = 0;
    char vatLetter = ' ';
    std::string flags;
    int trailingNumber = 0;
};

// The load record "DH%1d%02d%-18s%10.0f%c%4s%02d" (40 characters). A name longer than 18 is cut
// to 18 and flags longer than 4 to 4; an amount that does not fit its ten digits or a number
// outside 0..99 gives no record (the line is bad data).
std::optional<std::string> departmentRecord(int recordAction, const Department& department);

// Decodes a "D" answer of the register (name converted to the /S letters).
Department departmentFromAnswer(std::string_view answer, CharsetMode mode);

// The exchange-file line "DEP%2d,%18s,%10.2f,%c,%4s,%d\n".
std::string departmentLine(const Department& department);

// The fields of a "DEP" line from position 3 (name converted to the register's letters); nothing
// when a number field holds other text.
std::optional<Department> departmentFromLine(std::string_view line, CharsetMode mode);

// A dump asks the register for department.number and writes its line to the exchange file
// (filling `department`); kNoAnswer when no answer frame came. A load sends `department` with
// run.settings.recordAction.
StatusCode transferDepartment(Run& run, Direction direction, Department& department);

// One department: request, answer, its DEP line.
StatusCode dumpDepartment(Run& run, int number);

// A "DEP" line (fields from position 3) sent with run.settings.recordAction; a line whose values
// do not fit the record is rejected and sends nothing; any other line is skipped.
LineResult loadDepartmentLine(Run& run, std::string_view line);

// Job G: departments 1 to 42 to the exchange file, or every "DEP" line of it to the register.
void runDepartmentJob(Run& run);

}  // namespace lorvex
