#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "goods/product_table.h"
#include "text/charset.h"

namespace lorvex {

// The values one PLU good carries.
struct PluRecord {
    double code = 0;  // PLU number, EAN-8 or EAN-13
    std::string name;
    double price = 0;
    char vatLetter = ' ';
    int typeDigit = 0;
    std::string flags;  // five characters '0'/'1', bit 0 first
    int department = 0;
    int halo = 0;
    double tandemCode = 0;  // 0: none
    // False when the good's line cannot make a record: a number field held other text, or the
    // line holds a character the register cannot carry.
    bool sendable = true;
};

// A good as the register sends it in one dump block.
struct DumpedPlu {
    std::string codeText;  // the register's 18 characters, unchanged
    PluRecord record;
};

// The load record "DI%1d%18.0f%-18s%10.0f%c%1d%5s%02d%02d%18.0f" (18 spaces for no tandem), 78
// characters. When the fourth flag character is '1' the type digit and halo go as 0. A name
// longer than 18 is cut to 18 and flags to 5; a code, price or tandem code that does not fit its
// digits, a type digit outside 0..9, a department or halo outside 0..99 or a good that is not
// sendable gives no record.
std::optional<std::string> pluRecordText(int recordAction, const PluRecord& record);

// The request that opens a load transaction: "SI1", the first record's code as 18 zero-padded
// digits (EAN-13 codes included), then 999999999 as 18 digits.
std::string pluLoadRequest(double firstCode);

// The dump requests in the order they are sent: short numbers (to 16000 with largePluNumbers),
// EAN-8 and EAN-13; or the one all-codes request with skipEanCheck.
std::vector<std::string> pluDumpRequests(bool largePluNumbers, bool skipEanCheck);

// Decodes a "D" block of a dump (name converted to the /S letters).
DumpedPlu pluFromAnswer(std::string_view answer, CharsetMode mode);

// The exchange-file line "PLU%13.13s,%18s,%10.2f,%c,%d,%4s,%d,%d,%013.0f\n".
std::string pluLine(const DumpedPlu& plu);

// The product-table record of a dumped good.
ProductReportRecord pluProductRecord(const DumpedPlu& plu);

// The fields of a "PLU" line from position 3 (name converted to the register's letters).
PluRecord pluFromLine(std::string_view line, CharsetMode mode);

// A product-table record as a good to load: CENADET, KODNR, TANDEM, TYPPODS, OPCJE, HALO, DZIAL,
// NAZWAF (cut to 18, converted to the register's letters); type digit 3.
PluRecord pluFromTable(const ProductTable& table, const std::vector<std::uint8_t>& buffer,
                       CharsetMode mode);

// The code as the error log names it ("%13.0f").
std::string pluCodeLabel(double code);

}  // namespace lorvex
