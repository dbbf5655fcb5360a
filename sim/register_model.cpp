#include "sim/register_model.h"

#include <algorithm>
#include <limits>

#include "sim/model_parts.h"
#include "sim/record_checks.h"
#include "sim/status_codes.h"
#include "sim/wire_fields.h"

namespace lorvex::sim {

DumpAnswer RegisterModel::dump(const Request& request) const {
    switch (request.letter) {
        case 'H':
        case 'I':
            return detail::dumpGoods(memory_, request);
        case 'R':
        case 'T':
        case 'l':
        case 'n':
        case 'w':
        case 'o':
        case 'k':
        case 'p':
        case 'U':
        case 'd':
            return detail::dumpReport(memory_, request);
        default:
            return detail::dumpSetting(memory_, request);
    }
}

int RegisterModel::load(const Request& request, std::string_view record) {
    // A record names its kind in its first two characters; it must be the kind requested.
    if (record.size() < 2 || record[0] != 'D' || record[1] != request.letter) {
        return status::kBadTransmission;
    }
    int code = status::kOk;
    switch (request.letter) {
        case 'H':
            code = detail::loadDepartment(memory_, request, record);
            break;
        case 'I':
            code = detail::loadPlu(memory_, record);
            break;
        default:
            code = detail::loadSetting(memory_, request, record);
            break;
    }
    if (code == status::kOk) ++revision_;
    return code;
}

void RegisterModel::delivered(const DumpAnswer& answer) {
    if (!answer.onDelivered) return;
    answer.onDelivered(memory_);
    ++revision_;
}

std::string errorAnswer(char letter, int code) {
    return std::string("E") + letter + "0" + hexByte(code);
}

std::string loadStatusAnswer(char letter, int code) {
    const int shown = std::clamp(code, 0, 99);
    return std::string(code == 0 ? "D" : "E") + letter + "1" + zeroPadded(shown, 2);
}

namespace detail {

DumpAnswer one(std::string text) {
    DumpAnswer answer;
    answer.blocks.push_back(std::move(text));
    return answer;
}

DumpAnswer refused(int code) {
    DumpAnswer answer;
    answer.error = code;
    return answer;
}

char cashierChar(int number) {
    return static_cast<char>(number < 10 ? '0' + number : 'A' + (number - 10));
}

int itemNumber(const Request& request, int low, int high) {
    if (!request.first.number() || request.first.negative) return -1;
    if (request.first.magnitude < static_cast<std::uint64_t>(low) ||
        request.first.magnitude > static_cast<std::uint64_t>(high)) {
        return -1;
    }
    return static_cast<int>(request.first.magnitude);
}

int recordItemNumber(const Request& request, int low, int high, std::string_view field,
                     int& number) {
    number = itemNumber(request, low, high);
    if (number < 0) return status::kBadIndex;
    int recordNumber = 0;
    if (const int c = readBoundedInt(field, 99, recordNumber)) return c;
    return recordNumber == number ? status::kOk : status::kBadStart;
}

bool inRange(const Request& request, std::uint64_t code) {
    std::uint64_t low = 0;
    std::uint64_t high = std::numeric_limits<std::uint64_t>::max();
    if (request.first.number() && !request.first.negative) low = request.first.magnitude;
    if (request.second.number()) high = request.second.negative ? 0 : request.second.magnitude;
    return code >= low && code <= high;
}

std::string codeText(std::uint64_t code) {
    return leftText(std::to_string(code), 18);
}

}  // namespace detail
}  // namespace lorvex::sim
