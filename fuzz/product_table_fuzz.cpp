// Any bytes as a product table: opened, its fields mapped, every record and field read; then the
// same file loaded as PLU goods by the real run flow.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "goods/product_table.h"
#include "support/job_harness.h"

namespace {

using lorvex::ProductTable;

void readEverything(const std::string& bytes) {
    const lorvex::test::TempDir dir("lorvex-fuzz-table");
    dir.write("TOWARY.TBL", bytes);
    std::unique_ptr<ProductTable> table;
    if (ProductTable::open(dir / "TOWARY.TBL", table) != ProductTable::OpenResult::Opened) return;
    table->mapFieldNames();
    table->rewind();
    std::vector<std::uint8_t> record, field;
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(table->recordCount(), 64); ++i) {
        table->readRecord(record);
        if (record.size() != table->recordSize()) __builtin_trap();
        for (int index = 0; index <= static_cast<int>(table->descriptors().size()); ++index) {
            table->getField(field, index, record);
            if (field.size() > ProductTable::kMaxRecordSize) __builtin_trap();
            (void)table->getDouble(index, record);
            (void)table->getText(index, record);
            (void)table->getLowByte(index, record);
        }
        if (table->nextRecord() != 0) break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16384) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    readEverything(bytes);
    lorvex::test::JobHarness harness;
    harness.file("TOWARY.TBL", bytes);
    const lorvex::test::JobResult run = harness.run({"/L", "/CH", "/FTOWARY.TBL"});
    // A load never changes the table it reads.
    if (run.exitCode > 2 || run.file("TOWARY.TBL") != bytes) __builtin_trap();
    return 0;
}
