#pragma once

// Product tables made on the spot, byte by byte, laid out as the shop's PC software keeps them:
// a header, 27-byte descriptors with "TOW:"-prefixed names, then the records.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "goods/product_table.h"
#include "unit/core/temp_dir.h"

namespace lorvex::tables {

using Bytes = std::vector<std::uint8_t>;
using coretest::TempDir;

enum FieldType : std::uint8_t { kLong = 1, kReal = 2, kString = 3, kByte = 5, kShort = 6 };

struct FieldSpec {
    std::string name;
    std::uint8_t type = kByte;
    std::uint16_t length = 1;
    int offset = -1;  // -1: right after the previous field
};

inline void putLe(Bytes& b, std::size_t at, std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint64_t getLe(const Bytes& b, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | b[at + i];
    return value;
}

inline Bytes doubleBytes(double value) {
    Bytes b(8);
    putLe(b, 0, std::bit_cast<std::uint64_t>(value), 8);
    return b;
}

struct TableSpec {
    std::vector<FieldSpec> fields;
    std::vector<Bytes> records;
    std::optional<std::uint32_t> headerCount;  // default: records.size()
    std::optional<std::uint16_t> recordSize;   // default: 5 + end of the last field
    std::optional<std::uint16_t> fieldCount;   // default: fields.size()
    std::optional<std::uint32_t> dataOffset;   // default: after the descriptors and `gap`
    std::size_t gap = 0;                       // bytes between descriptors and records
    std::uint32_t appendedCount = 0;
    std::uint8_t unusedFill = 0;  // what the header bytes the program does not use hold

    // Where each field starts inside a record (after the 5 leading bytes).
    std::vector<std::size_t> starts() const {
        std::vector<std::size_t> at;
        std::size_t next = 0;
        for (const FieldSpec& f : fields) {
            at.push_back(5 + (f.offset >= 0 ? static_cast<std::size_t>(f.offset) : next));
            next = at.back() - 5 + f.length;
        }
        return at;
    }
    std::size_t start(const std::string& name) const {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].name == name) return starts()[i];
        }
        return 0;
    }
    std::uint16_t size() const {
        std::size_t end = 5;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            end = std::max(end, starts()[i] + fields[i].length);
        }
        return recordSize ? *recordSize : static_cast<std::uint16_t>(end);
    }
    std::uint32_t data() const {
        return dataOffset ? *dataOffset : static_cast<std::uint32_t>(85 + 27 * fields.size() + gap);
    }
    Bytes record(std::uint8_t fill) const { return Bytes(size(), fill); }
};

inline Bytes buildTable(const TableSpec& spec) {
    Bytes out(85, spec.unusedFill);
    putLe(out, 0, 0x3343, 2);
    putLe(out, 5, spec.headerCount ? *spec.headerCount : spec.records.size(), 4);
    putLe(out, 13, spec.fieldCount ? *spec.fieldCount : spec.fields.size(), 2);
    putLe(out, 19, spec.size(), 2);
    putLe(out, 21, spec.data(), 4);
    putLe(out, 25, spec.appendedCount, 4);
    putLe(out, 29, 0, 4);
    const std::vector<std::size_t> starts = spec.starts();
    for (std::size_t i = 0; i < spec.fields.size(); ++i) {
        Bytes d(27, 0);
        d[0] = spec.fields[i].type;
        const std::string name = spec.fields[i].name + std::string(16, ' ');
        std::copy_n(name.begin(), 16, d.begin() + 1);
        putLe(d, 17, starts[i] - 5, 2);
        putLe(d, 19, spec.fields[i].length, 2);
        d[21] = 5;  // unused by the program, and must survive it
        out.insert(out.end(), d.begin(), d.end());
    }
    out.resize(out.size() + spec.gap, 0xEE);
    if (!spec.dataOffset) out.resize(spec.data(), 0);
    for (const Bytes& r : spec.records) out.insert(out.end(), r.begin(), r.end());
    return out;
}

// A full goods table; where names share a stem (CENADET, CENA) the longer one comes first.
inline std::vector<FieldSpec> goodsFields() {
    std::vector<FieldSpec> fields;
    const std::pair<const char*, std::uint16_t> strings[] = {
        {"KOD", 13},   {"NAZWAF", 18}, {"NAZWA", 30}, {"GRUPA1", 4}, {"GRUPA2", 4},
        {"STATUS", 3}, {"TYPPODS", 1}, {"JM", 4},     {"SWW", 2}};
    for (const char* name :
         {"ILOSC_ECR", "ILOSC", "KODNR", "CENADET", "CENAHUR", "CENA", "STAN", "FREAL1", "ILOSCJMZ",
          "FREAL2", "RABATC", "RABAT", "TANDEM", "ZAOKN", "ZAOKB"}) {
        fields.push_back({std::string("TOW:") + name, kReal, 8});
    }
    for (const char* name : {"DZIAL", "FLONG0", "NUMER", "HALO"}) {
        fields.push_back({std::string("TOW:") + name, kLong, 4});
    }
    for (const char* name : {"FBYTE1", "FORMA", "FBYTE2", "WSK", "TYP", "TPU"}) {
        fields.push_back({std::string("TOW:") + name, kByte, 1});
    }
    fields.push_back({"TOW:OPCJE", kShort, 2});
    for (const auto& [name, length] : strings) {
        fields.push_back({std::string("TOW:") + name, kString, length});
    }
    return fields;
}

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    coretest::writeText(path, std::string(bytes.begin(), bytes.end()));
}

inline Bytes readFile(const std::filesystem::path& path) {
    const std::string text = coretest::readText(path);
    return Bytes(text.begin(), text.end());
}

inline Bytes slice(const Bytes& b, std::size_t at, std::size_t count) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(at),
                 b.begin() + static_cast<std::ptrdiff_t>(at + count));
}

inline Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

inline std::unique_ptr<ProductTable> openMapped(const std::filesystem::path& path) {
    std::unique_ptr<ProductTable> table;
    if (ProductTable::open(path, table) == ProductTable::OpenResult::Opened) table->mapFieldNames();
    return table;
}

}  // namespace lorvex::tables
