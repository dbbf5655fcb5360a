#pragma once

// Product tables made on the spot, byte by byte, laid out as a shop's PC software keeps them: an
// 85-byte header, 27-byte descriptors with "TOW:"-prefixed names, then records of 5 leading bytes
// and the fields.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lorvex::test {

using Bytes = std::vector<std::uint8_t>;

enum FieldType : std::uint8_t { kLong = 1, kReal = 2, kString = 3, kByte = 5, kShort = 6 };

struct FieldSpec {
    std::string name;
    std::uint8_t type = kByte;
    std::uint16_t length = 1;
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
    // The fields a load reads, with one it does not (ILOSC) first.
    std::vector<FieldSpec> fields = {
        {"TOW:ILOSC", kReal, 8},    {"TOW:KOD", kString, 13}, {"TOW:KODNR", kReal, 8},
        {"TOW:CENADET", kReal, 8},  {"TOW:DZIAL", kLong, 4},  {"TOW:NAZWAF", kString, 18},
        {"TOW:NAZWA", kString, 30}, {"TOW:OPCJE", kShort, 2}, {"TOW:TYPPODS", kString, 1},
        {"TOW:TANDEM", kReal, 8},   {"TOW:HALO", kLong, 4}};
    std::vector<Bytes> records;
    std::optional<std::uint32_t> headerCount;  // default: records.size()
    std::optional<std::uint16_t> recordSize;   // default: 5 + end of the last field
    std::optional<std::uint16_t> fieldCount;   // default: fields.size()
    std::optional<std::uint32_t> dataOffset;   // default: after the descriptors and `gap`
    std::size_t gap = 0;                       // bytes between descriptors and records
    std::uint32_t appendedCount = 0;
    std::uint8_t unusedFill = 0;  // what the bytes the program does not use hold

    // Where each field starts inside a record, one after the other, and where the last one ends.
    std::vector<std::size_t> starts() const {
        std::vector<std::size_t> at{5};
        for (const FieldSpec& f : fields) at.push_back(at.back() + f.length);
        return at;
    }
    std::size_t start(const std::string& name) const {
        const auto found = std::find_if(fields.begin(), fields.end(),
                                        [&](const FieldSpec& f) { return f.name == name; });
        return starts()[static_cast<std::size_t>(found - fields.begin())];
    }
    std::uint16_t size() const {
        return recordSize.value_or(static_cast<std::uint16_t>(starts().back()));
    }
    std::uint32_t data() const {
        return dataOffset.value_or(static_cast<std::uint32_t>(85 + 27 * fields.size() + gap));
    }
    Bytes record(std::uint8_t fill) const { return Bytes(size(), fill); }
};

inline Bytes buildTable(const TableSpec& spec) {
    Bytes out(85, spec.unusedFill);
    putLe(out, 0, 0x3343, 2);
    putLe(out, 5, spec.headerCount.value_or(static_cast<std::uint32_t>(spec.records.size())), 4);
    putLe(out, 13, spec.fieldCount.value_or(static_cast<std::uint16_t>(spec.fields.size())), 2);
    putLe(out, 19, spec.size(), 2);
    putLe(out, 21, spec.data(), 4);
    putLe(out, 25, spec.appendedCount, 4);
    putLe(out, 29, 0, 4);
    const std::vector<std::size_t> starts = spec.starts();
    for (std::size_t i = 0; i < spec.fields.size(); ++i) {
        Bytes d(27, spec.unusedFill);
        d[0] = spec.fields[i].type;
        const std::string name = spec.fields[i].name + std::string(16, ' ');
        std::copy_n(name.begin(), 16, d.begin() + 1);
        putLe(d, 17, starts[i] - 5, 2);
        putLe(d, 19, spec.fields[i].length, 2);
        out.insert(out.end(), d.begin(), d.end());
    }
    out.resize(out.size() + spec.gap, 0xEE);
    if (!spec.dataOffset) out.resize(spec.data(), 0);
    for (const Bytes& r : spec.records) out.insert(out.end(), r.begin(), r.end());
    return out;
}

inline std::string tableText(const TableSpec& spec) {
    const Bytes bytes = buildTable(spec);
    return std::string(bytes.begin(), bytes.end());
}

struct TableGood {
    double code = 0;
    std::string name;
    std::int32_t department = 1;
    std::uint16_t options = 0;
    double price = 1.5;
    double tandem = 0;
    std::int32_t halo = 0;
    char vat = 'A';
};

// A table of goodsFields() holding the goods; the header may count `extraCount` records more.
inline std::string goodsTable(const std::vector<TableGood>& goods, std::uint32_t extraCount = 0) {
    TableSpec spec;
    spec.headerCount = static_cast<std::uint32_t>(goods.size() + extraCount);
    for (const TableGood& g : goods) {
        Bytes r = spec.record(0);
        putLe(r, spec.start("TOW:KODNR"), std::bit_cast<std::uint64_t>(g.code), 8);
        putLe(r, spec.start("TOW:CENADET"), std::bit_cast<std::uint64_t>(g.price), 8);
        putLe(r, spec.start("TOW:DZIAL"), static_cast<std::uint32_t>(g.department), 4);
        putLe(r, spec.start("TOW:OPCJE"), g.options, 2);
        putLe(r, spec.start("TOW:TANDEM"), std::bit_cast<std::uint64_t>(g.tandem), 8);
        putLe(r, spec.start("TOW:HALO"), static_cast<std::uint32_t>(g.halo), 4);
        const std::string name = (g.name + std::string(18, ' ')).substr(0, 18);
        std::copy(name.begin(), name.end(), r.begin() + spec.start("TOW:NAZWAF"));
        r[spec.start("TOW:TYPPODS")] = static_cast<std::uint8_t>(g.vat);
        spec.records.push_back(r);
    }
    return tableText(spec);
}

}  // namespace lorvex::test
