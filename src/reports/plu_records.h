#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "goods/product_table.h"
#include "text/charset.h"

namespace lorvex {

// The requests of the PLU sales report: one per code range (short PLU numbers, 8-digit codes,
// 13-digit codes), or a single one without bounds when the EAN check is skipped.
std::vector<std::string> pluSalesRequests(int mode, bool largePluNumbers, bool skipEanCheck);

// The packaging report's one request: without bounds, or with the range 0001 (00001 with large
// PLU numbers) to `rangeEnd` when the EAN check is skipped.
std::string packagingRequest(int mode, std::string_view rangeEnd, bool largePluNumbers,
                             bool skipEanCheck);

// One block of the PLU sales report.
struct PluSalesRecord {
    std::string codeText;  // the register's 18 characters as received
    double code = 0;
    std::string name;  // converted from the register's letters
    double value = 0;
    double quantity = 0;
    double unitPrice = 0;
};

PluSalesRecord decodePluSales(std::string_view answer, CharsetMode mode);
// Goods that sold nothing (zero or negative quantity) are left out of the report.
bool isSold(const PluSalesRecord& record);
std::string pluSalesLine(const PluSalesRecord& record);
ProductReportRecord pluSalesTableRecord(const PluSalesRecord& record);

// One block of the packaging report: packaging issued and returned.
struct PackagingRecord {
    double code = 0;
    std::string codeText;  // the code number as "%.13g" text: no leading blanks or zeros
    std::string name;
    double issuedValue = 0;
    double issuedCount = 0;
    double returnedValue = 0;
    double returnedCount = 0;

    double netValue() const { return issuedValue - returnedValue; }
    double netCount() const { return issuedCount - returnedCount; }
    // 2 when more was issued than returned, else 1.
    int department() const { return netCount() > 0 ? 2 : 1; }
    double unitPrice() const { return netCount() > 0.0009 ? netValue() / netCount() : 0.0; }
};

PackagingRecord decodePackaging(std::string_view answer, CharsetMode mode);
// Items with no whole packaging issued or returned are left out.
bool hasMovement(const PackagingRecord& record);
// The gross figures; the net ones go only into the table record.
std::string packagingLine(const PackagingRecord& record);
ProductReportRecord packagingTableRecord(const PackagingRecord& record);

}  // namespace lorvex
