#include "goods/departments.h"

#include <cmath>

#include "core/answer_reader.h"
#include "core/dead_line.h"
#include "core/load_loop.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

constexpr std::size_t kNameWidth = 18;
constexpr std::size_t kFlagsWidth = 4;
constexpr std::uint32_t kPauseAfterLoadMs = 100;

}  // namespace

std::optional<std::string> departmentRecord(int recordAction, const Department& department) {
    const std::optional<std::string> amount = fitted("%10.0f", department.amount * 100, 10);
    if (!amount || !isTwoDigit(department.number) || !isTwoDigit(department.trailingNumber)) {
        return std::nullopt;
    }
    const std::string name = wireText(department.name).substr(0, kNameWidth);
    const std::string flags = wireText(department.flags).substr(0, kFlagsWidth);
    const char vat = department.vatLetter == '\0' ? ' ' : department.vatLetter;
    return format("DH%1d%02d%-18s%s%c%4s%02d", recordAction == 0 ? 0 : 1, department.number,
                  name.c_str(), amount->c_str(), vat, flags.c_str(), department.trailingNumber);
}

Department departmentFromAnswer(std::string_view answer, CharsetMode mode) {
    Department department;
    department.number = readInt(answerField(answer, 3, 2));
    department.name = textField(answer, 5, kNameWidth);
    convertText(department.name, 0, mode);
    department.amount = readDouble(answerField(answer, 23, 10)) * 0.01;
    department.vatLetter = answerChar(answer, 33);
    department.flags = wireText(answerField(answer, 34, kFlagsWidth));
    department.trailingNumber = readInt(answerField(answer, 38, 2));
    return department;
}

std::string departmentLine(const Department& department) {
    return format("DEP%2d,%18s,%10.2f,%c,%4s,%d\n", department.number, department.name.c_str(),
                  department.amount, department.vatLetter, department.flags.c_str(),
                  department.trailingNumber);
}

std::optional<Department> departmentFromLine(std::string_view line, CharsetMode mode) {
    FieldCursor fields(line, 3);
    Department department;
    department.number = fields.nextInt();
    department.name = wireText(fields.next());
    convertText(department.name, 1, mode);
    department.amount = fields.nextDouble();
    department.vatLetter = letterOf(fields.next());
    department.flags = wireText(fields.next());
    department.trailingNumber = fields.nextInt();
    return fields.ifNumbersRead(department);
}

StatusCode transferDepartment(Run& run, Direction direction, Department& department) {
    if (direction == Direction::Dump) {
        const std::string request = buildRequest('H', 0, department.number, department.number);
        return dumpAnswer(run, request, [&](std::string_view answer) {
            department = departmentFromAnswer(answer, run.settings.charsetMode);
            return std::optional<std::string>(departmentLine(department));
        });
    }
    const std::optional<std::string> record =
        departmentRecord(run.settings.recordAction, department);
    if (!record) return kBadFileData;
    const std::string request = buildRequest('H', 1, department.number, department.number);
    return sendLoadRecord(run, request, *record, "DEP>");
}

StatusCode dumpDepartment(Run& run, int number) {
    Department department;
    department.number = number;
    return transferDepartment(run, Direction::Dump, department);
}

LineResult loadDepartmentLine(Run& run, std::string_view line) {
    if (!lineHasPrefix(line, "DEP")) return LineResult::skipped();
    std::optional<Department> department = departmentFromLine(line, run.settings.charsetMode);
    if (!department) return LineResult::rejected();
    const StatusCode status = transferDepartment(run, Direction::Load, *department);
    return status == kBadFileData ? LineResult::rejected() : LineResult::sent(status);
}

void runDepartmentJob(Run& run) {
    if (run.dumping()) {
        // Every department is its own exchange; a failing one writes no line and the next is
        // still asked for. Only the last status is reported.
        DeadLineGuard guard(run, "departments");
        StatusCode status = 0;
        for (int number = 1; number <= kDepartmentCount; ++number) {
            status = dumpDepartment(run, number);
            run.progress(number, kDepartmentCount);
            if (!guard.note(status, kDepartmentCount - number)) return;
        }
        run.report(status);
        return;
    }
    // The register is given its rest after every DEP line, a refused one too.
    loadEveryLine(run,
                  {.countItems = true, .pauseMs = kPauseAfterLoadMs, .pauseAfterRejected = true},
                  loadDepartmentLine);
}

}  // namespace lorvex
