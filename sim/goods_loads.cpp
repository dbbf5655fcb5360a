#include <string>

#include "sim/model_parts.h"
#include "sim/record_checks.h"
#include "sim/status_codes.h"
#include "sim/wire_fields.h"

namespace lorvex::sim::detail {
namespace {

constexpr std::size_t kDepartmentRecordLength = 40;
constexpr std::size_t kPluRecordLength = 78;

// The action digit of a goods record: 1 stores, 0 erases.
int readAction(char digit, bool& store) {
    if (digit != '0' && digit != '1') return status::kBadTask;
    store = digit == '1';
    return status::kOk;
}

}  // namespace

int loadDepartment(RegisterMemory& memory, const Request& request, std::string_view record) {
    if (record.size() != kDepartmentRecordLength) return status::kBadTransmission;
    bool store = true;
    if (const int c = readAction(record[2], store)) return c;
    int number = 0;
    if (const int c = recordItemNumber(request, 1, kDepartmentCount, record.substr(3, 2), number)) {
        return c;
    }

    Department& department = memory.departments[number - 1];
    if (!store) {
        // Erasing clears the programming; the sales counter stays for the reports.
        const std::int64_t sales = department.sales;
        department = Department{};
        department.sales = sales;
        return status::kOk;
    }
    Department loaded;
    loaded.name = std::string(record.substr(5, kNameWidth));
    if (const int c = checkText(loaded.name)) return c;
    if (const int c = readBounded(record.substr(23, 10), kLargestAmount, loaded.amount)) return c;
    loaded.vat = record[33];
    if (const int c = checkVatLetter(loaded.vat)) return c;
    loaded.flags = std::string(record.substr(34, 4));
    if (const int c = checkFlagChars(loaded.flags)) return c;
    if (const int c = readBoundedInt(record.substr(38, 2), 99, loaded.trailing)) return c;
    loaded.sales = department.sales;
    department = loaded;
    return status::kOk;
}

int loadPlu(RegisterMemory& memory, std::string_view record) {
    if (record.size() != kPluRecordLength) return status::kBadTransmission;
    bool store = true;
    if (const int c = readAction(record[2], store)) return c;
    const NumberField codeField = readNumberField(record.substr(3, 18));
    if (!codeField.number()) return status::kBadDigits;
    if (codeField.negative || !isGoodsCode(codeField.magnitude)) return status::kNoSuchItem;
    const std::uint64_t code = codeField.magnitude;
    const auto existing = memory.plus.find(code);

    if (!store) {
        if (existing == memory.plus.end()) return status::kNoSuchItem;
        memory.plus.erase(existing);
        return status::kOk;
    }

    Plu plu;
    plu.name = std::string(record.substr(21, kNameWidth));
    if (const int c = checkText(plu.name)) return c;
    if (isBlank(plu.name)) return status::kBadName;
    if (const int c = readBounded(record.substr(39, 10), kLargestAmount, plu.price)) return c;
    plu.vat = record[49];
    if (const int c = checkVatLetter(plu.vat)) return c;
    if (const int c = readBoundedInt(record.substr(50, 1), 9, plu.type)) return c;
    plu.flags = std::string(record.substr(51, 5));
    if (const int c = checkFlagChars(plu.flags)) return c;
    if (const int c = readBoundedInt(record.substr(56, 2), 99, plu.department)) return c;
    if (plu.department < 1 || plu.department > kDepartmentCount) return status::kBadIndex;
    if (const int c = readBoundedInt(record.substr(58, 2), 99, plu.halo)) return c;
    if (plu.halo > kHaloCount) return status::kBadIndex;

    const NumberField tandem = readNumberField(record.substr(60, 18));
    if (tandem.bad()) return status::kBadDigits;
    if (tandem.number() && tandem.magnitude != 0) {
        if (tandem.negative || memory.plus.count(tandem.magnitude) == 0) return status::kNoTandem;
        plu.tandem = tandem.magnitude;
    }

    if (existing == memory.plus.end()) {
        if (memory.plus.size() >= memory.pluCapacity) return status::kPluBaseFull;
        memory.plus.emplace(code, plu);
        return status::kOk;
    }
    // Reprogramming a good keeps its sales on the counters.
    plu.sales = existing->second.sales;
    plu.packaging = existing->second.packaging;
    existing->second = plu;
    return status::kOk;
}

}  // namespace lorvex::sim::detail
