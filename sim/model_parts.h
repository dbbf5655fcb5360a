#pragma once

#include <string>
#include <string_view>

#include "sim/register_memory.h"
#include "sim/register_model.h"
#include "sim/request.h"

// The register model's answers and loads, one file per family; only register_model.cpp calls them.
namespace lorvex::sim::detail {

DumpAnswer dumpSetting(const RegisterMemory& memory, const Request& request);
DumpAnswer dumpGoods(const RegisterMemory& memory, const Request& request);
DumpAnswer dumpReport(const RegisterMemory& memory, const Request& request);

int loadSetting(RegisterMemory& memory, const Request& request, std::string_view record);
int loadDepartment(RegisterMemory& memory, const Request& request, std::string_view record);
int loadPlu(RegisterMemory& memory, std::string_view record);

// An answer of one block, and an answer refused with a status.
DumpAnswer one(std::string text);
DumpAnswer refused(int code);

// Cashiers 0 to 9 are named by their digit, 10 to 29 by the letters 'A' to 'T'.
char cashierChar(int number);

// The request's first number as an item index when it is a plain number in [low, high]; else -1.
int itemNumber(const Request& request, int low, int high);

// The item number a record carries in `field` must be the request's, itemNumber from `low` to
// `high`: 0 with `number` set, or the status the register refuses the record with.
int recordItemNumber(const Request& request, int low, int high, std::string_view field,
                     int& number);

// Whether a code lies in the request's range; a blank bound leaves that side open.
bool inRange(const Request& request, std::uint64_t code);

// A goods code left-aligned in 18 characters, as the register sends it in its goods answers.
std::string codeText(std::uint64_t code);

}  // namespace lorvex::sim::detail
