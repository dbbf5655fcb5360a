#include "goods/plu_goods.h"

#include <cmath>

#include "text/fields.h"
#include "text/format.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

constexpr std::size_t kNameWidth = 18;
constexpr std::size_t kFlagsWidth = 5;
constexpr std::size_t kCodeWidth = 18;
constexpr std::size_t kLineCodeWidth = 13;

bool fourthFlagSet(std::string_view flags) {
    return flags.size() > 3 && flags[3] == '1';
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The file's code field and the table's KOD hold 13 characters. The register's code text is kept
// as it stands when its digits lie in those 13; otherwise (a right-aligned code) only the digits
// are kept, so cutting never loses one.
bool digitsFitLineCode(std::string_view codeText) {
    return codeText.size() <= kLineCodeWidth || trimBlanks(codeText.substr(kLineCodeWidth)).empty();
}

}  // namespace

std::optional<std::string> pluRecordText(int recordAction, const PluRecord& record) {
    if (!record.sendable) return std::nullopt;
    const std::optional<std::string> code = fitted("%18.0f", record.code, kCodeWidth);
    const std::optional<std::string> price = fitted("%10.0f", record.price * 100, 10);
    std::optional<std::string> tandem = std::string(kCodeWidth, ' ');
    if (!std::isfinite(record.tandemCode)) {
        tandem.reset();
    } else if (record.tandemCode > 0) {
        tandem = fitted("%18.0f", record.tandemCode, kCodeWidth);
    }
    const std::string flags = wireText(record.flags).substr(0, kFlagsWidth);
    // The fourth flag makes the register ignore the type digit and halo: they go as 0.
    const bool fourth = fourthFlagSet(flags);
    const int typeDigit = fourth ? 0 : record.typeDigit;
    const int halo = fourth ? 0 : record.halo;
    if (!code || !price || !tandem || typeDigit < 0 || typeDigit > 9 ||
        !isTwoDigit(record.department) || !isTwoDigit(halo)) {
        return std::nullopt;
    }
    const std::string name = wireText(record.name).substr(0, kNameWidth);
    const char vat = record.vatLetter == '\0' ? ' ' : record.vatLetter;
    return format("DI%1d%s%-18s%s%c%1d%5s%02d%02d%s", recordAction == 0 ? 0 : 1, code->c_str(),
                  name.c_str(), price->c_str(), vat, typeDigit, flags.c_str(), record.department,
                  halo, tandem->c_str());
}

std::string pluLoadRequest(double firstCode) {
    std::string code = std::isfinite(firstCode) ? format("%018.0f", firstCode) : std::string();
    if (code.size() != kCodeWidth) code = std::string(kCodeWidth, '0');
    return "SI1" + code + format("%018d", 999999999);
}

std::vector<std::string> pluDumpRequests(bool largePluNumbers, bool skipEanCheck) {
    if (skipEanCheck) return {format("SI0%18s%18s", " ", " ")};
    return {
        largePluNumbers ? format("SI0%13s%05.0f%13s%05.0f", " ", 1.0, " ", 16000.0)
                        : format("SI0%14s%04.0f%14s%04.0f", " ", 1.0, " ", 9999.0),
        format("SI0%10s%08.0f%10s%08.0f", " ", 10000000.0, " ", 99999999.0),
        format("SI0%5s%013.0f%5s%013.0f", " ", 1000000000000.0, " ", 9999999999999.0),
    };
}

DumpedPlu pluFromAnswer(std::string_view answer, CharsetMode mode) {
    DumpedPlu plu;
    plu.codeText = wireText(answerField(answer, 3, kCodeWidth));
    PluRecord& record = plu.record;
    record.code = readDouble(plu.codeText);
    record.name = wireText(answerField(answer, 21, kNameWidth));
    convertText(record.name, 0, mode);
    record.price = readDouble(answerField(answer, 39, 10)) * 0.01;
    record.vatLetter = answerChar(answer, 49);
    record.typeDigit = readInt(answerField(answer, 50, 1));
    record.flags = wireText(answerField(answer, 51, kFlagsWidth));
    record.department = readInt(answerField(answer, 56, 2));
    record.halo = readInt(answerField(answer, 58, 2));
    record.tandemCode = readDouble(answerField(answer, 60, kCodeWidth));
    return plu;
}

std::string pluLine(const DumpedPlu& plu) {
    const PluRecord& r = plu.record;
    const std::string code = digitsFitLineCode(plu.codeText)
                                 ? plu.codeText.substr(0, kLineCodeWidth)
                                 : std::string(trimBlanks(plu.codeText));
    return format("PLU%13s,%18s,%10.2f,%c,%d,%4s,%d,%d,%013.0f\n", code.c_str(), r.name.c_str(),
                  r.price, r.vatLetter, r.typeDigit, r.flags.c_str(), r.department, r.halo,
                  r.tandemCode);
}

ProductReportRecord pluProductRecord(const DumpedPlu& plu) {
    ProductReportRecord out;
    const PluRecord& r = plu.record;
    out.name = r.name;
    out.codeText =
        digitsFitLineCode(plu.codeText) ? plu.codeText : std::string(trimBlanks(plu.codeText));
    out.unitPrice = r.price;
    out.quantity = 0;
    out.value = r.tandemCode;
    out.department = r.department;
    out.halo = r.halo;
    out.vatLetter = static_cast<unsigned char>(r.vatLetter);
    for (std::size_t bit = 0; bit < kFlagsWidth && bit < r.flags.size(); ++bit) {
        if (r.flags[bit] == '1')
            out.flagBits = static_cast<std::uint16_t>(out.flagBits | 1u << bit);
    }
    return out;
}

PluRecord pluFromLine(std::string_view line, CharsetMode mode) {
    FieldCursor fields(line, 3);
    PluRecord record;
    record.code = fields.nextDouble();
    record.name = wireText(fields.next());
    convertText(record.name, 1, mode);
    record.price = fields.nextDouble();
    record.vatLetter = letterOf(fields.next());
    record.typeDigit = fields.nextInt();
    record.flags = wireText(fields.next());
    record.department = fields.nextInt();
    record.halo = fields.nextInt();
    record.tandemCode = fields.nextDouble();
    record.sendable = fields.numbersRead();
    return record;
}

PluRecord pluFromTable(const ProductTable& table, const std::vector<std::uint8_t>& buffer,
                       CharsetMode mode) {
    PluRecord record;
    record.price = table.getDouble(Field::CENADET, buffer);
    record.code = table.getDouble(Field::KODNR, buffer);
    record.tandemCode = table.getDouble(Field::TANDEM, buffer);
    record.vatLetter = letterOf(table.getText(Field::TYPPODS, buffer));
    const unsigned options = table.getLowByte(Field::OPCJE, buffer);
    record.flags.clear();
    for (unsigned bit = 0; bit < kFlagsWidth; ++bit)
        record.flags += (options >> bit & 1u) ? '1' : '0';
    record.halo = table.getLowByte(Field::HALO, buffer);
    record.department = table.getLowByte(Field::DZIAL, buffer);
    const std::string name = table.getText(Field::NAZWAF, buffer);
    record.name = wireText(std::string_view(name).substr(0, kNameWidth));
    convertText(record.name, 1, mode);
    record.typeDigit = 3;
    return record;
}

std::string pluCodeLabel(double code) {
    if (std::isfinite(code) && std::fabs(code) < 1e18) return format("%13.0f", code);
    return format("%13.6g", code);
}

}  // namespace lorvex
