#pragma once

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

// The request's first number as an item index when it is a plain number in [low, high]; else -1.
int itemNumber(const Request& request, int low, int high);

// Whether a code lies in the request's range; a blank bound leaves that side open.
bool inRange(const Request& request, std::uint64_t code);

// A goods code left-aligned in 18 characters, as the register sends it in its goods answers.
std::string codeText(std::uint64_t code);

}  // namespace lorvex::sim::detail
