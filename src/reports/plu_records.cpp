#include "reports/plu_records.h"

#include <cmath>

#include "text/fields.h"
#include "text/format.h"

namespace lorvex {

std::vector<std::string> pluSalesRequests(int mode, bool largePluNumbers, bool skipEanCheck) {
    if (skipEanCheck) return {format("SU%1d%18s%18s", mode, " ", " ")};
    std::vector<std::string> requests;
    if (largePluNumbers) {
        requests.push_back(format("SU%1d%13s%05.0f%13s%05.0f", mode, " ", 1.0, " ", 16000.0));
    } else {
        requests.push_back(format("SU%1d%14s%04.0f%14s%04.0f", mode, " ", 1.0, " ", 9999.0));
    }
    requests.push_back(format("SU%1d%10s%08.0f%10s%08.0f", mode, " ", 10000000.0, " ", 99999999.0));
    requests.push_back(
        format("SU%1d%5s%013.0f%5s%013.0f", mode, " ", 1000000000000.0, " ", 9999999999999.0));
    return requests;
}

std::string packagingRequest(int mode, std::string_view rangeEnd, bool largePluNumbers,
                             bool skipEanCheck) {
    if (!skipEanCheck) return format("Sd%1d%18s%18s", mode, " ", " ");
    const std::string end(rangeEnd);
    return format("Sd%1d%18s%18s", mode, largePluNumbers ? "00001" : "0001", end.c_str());
}

PluSalesRecord decodePluSales(std::string_view answer, CharsetMode mode) {
    PluSalesRecord record;
    record.codeText = textField(answer, 2, 18);
    record.code = numberField(answer, 2, 18);
    record.name = textField(answer, 20, 18);
    convertText(record.name, 0, mode);
    record.value = numberField(answer, 38, 20) * 0.01;
    record.quantity = numberField(answer, 58, 20) * 0.001;
    record.unitPrice = numberField(answer, 78, 10) * 0.01;
    return record;
}

bool isSold(const PluSalesRecord& record) {
    return record.quantity > 0.0009;
}

std::string pluSalesLine(const PluSalesRecord& record) {
    return format("PLP%13.13s,%18s,%20.2f,%20.3f,%10.3f,%5.2f\n", record.codeText.c_str(),
                  record.name.c_str(), record.value, record.unitPrice, record.quantity,
                  record.unitPrice);
}

ProductReportRecord pluSalesTableRecord(const PluSalesRecord& record) {
    ProductReportRecord out;
    out.name = record.name;
    out.codeText = record.codeText;
    out.unitPrice = record.unitPrice;
    out.quantity = record.quantity;
    out.value = record.value;
    out.department = 0;
    return out;
}

PackagingRecord decodePackaging(std::string_view answer, CharsetMode mode) {
    PackagingRecord record;
    record.code = numberField(answer, 2, 18);
    record.codeText = format("%.13g", record.code);
    record.name = textField(answer, 20, 18);
    convertText(record.name, 0, mode);
    record.issuedValue = numberField(answer, 38, 20) * 0.01;
    record.issuedCount = numberField(answer, 58, 20);
    record.returnedValue = numberField(answer, 78, 20) * 0.01;
    record.returnedCount = numberField(answer, 98, 20);
    return record;
}

bool hasMovement(const PackagingRecord& record) {
    // A count truncated to a whole number is nonzero exactly when it is at least 1 either way;
    // compared so, a count beyond the int range cannot overflow a conversion.
    return std::fabs(record.issuedCount) >= 1.0 || std::fabs(record.returnedCount) >= 1.0;
}

std::string packagingLine(const PackagingRecord& record) {
    return format("PLB%13.0f,%18s,%20.2f,%20.0f,%20.2f,%20.0f\n", record.code, record.name.c_str(),
                  record.issuedValue, record.issuedCount, record.returnedValue,
                  record.returnedCount);
}

ProductReportRecord packagingTableRecord(const PackagingRecord& record) {
    ProductReportRecord out;
    out.name = record.name;
    out.codeText = record.codeText;
    out.unitPrice = record.unitPrice();
    out.quantity = record.netCount();
    out.value = record.netValue();
    out.department = record.department();
    return out;
}

}  // namespace lorvex
