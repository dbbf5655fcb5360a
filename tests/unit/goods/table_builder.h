#pragma once

// Small product tables made on the spot, byte by byte, in the layout the register's PC software
// keeps them: a header, 27-byte field descriptors with "TOW:"-prefixed names, then the records.

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace lorvex::tables {

using Bytes = std::vector<std::uint8_t>;

enum FieldType : std::uint8_t { kLong = 1, kReal = 2, kString = 3, kByte = 5, kShort = 6 };

struct FieldSpec {
    FieldSpec(std::string n, std::uint8_t t, std::uint16_t l)
        : name(std::move(n)), type(t), length(l) {}
    FieldSpec(std::string n, std::uint8_t t, std::uint16_t l, std::uint16_t at)
        : name(std::move(n)), type(t), length(l), offset(at) {}

    std::string name;  // written into the descriptor's 16 name bytes, padded with spaces
    std::uint8_t type;
    std::uint16_t length;
    std::optional<std::uint16_t> offset;  // default: right after the previous field
};

inline void putLe(Bytes& bytes, std::size_t at, std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint64_t getLe(const Bytes& bytes, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | bytes[at + i];
    return value;
}

inline Bytes doubleBytes(double value) {
    Bytes bytes(8);
    putLe(bytes, 0, std::bit_cast<std::uint64_t>(value), 8);
    return bytes;
}

struct TableSpec {
    std::vector<FieldSpec> fields;
    std::vector<Bytes> records;                // stored after the data offset
    std::optional<std::uint32_t> headerCount;  // default: records.size()
    std::optional<std::uint16_t> recordSize;   // default: 5 + end of the last field
    std::optional<std::uint16_t> fieldCount;   // default: fields.size()
    std::optional<std::uint32_t> dataOffset;   // default: after descriptors and `gap`
    std::size_t gap = 0;                       // bytes between descriptors and data (keys)
    std::uint32_t appendedCount = 0;
    std::uint8_t unusedFill = 0;  // what the unused header bytes hold

    std::uint16_t computedRecordSize() const {
        if (recordSize) return *recordSize;
        std::size_t end = 0, next = 0;
        for (const FieldSpec& f : fields) {
            const std::size_t at = f.offset ? *f.offset : next;
            next = at + f.length;
            if (next > end) end = next;
        }
        return static_cast<std::uint16_t>(5 + end);
    }

    std::uint32_t computedDataOffset() const {
        if (dataOffset) return *dataOffset;
        return static_cast<std::uint32_t>(85 + 27 * fields.size() + gap);
    }

    // A record of this table's size with every byte `fill`.
    Bytes record(std::uint8_t fill) const { return Bytes(computedRecordSize(), fill); }
};

inline Bytes buildTable(const TableSpec& spec) {
    Bytes header(85, spec.unusedFill);
    putLe(header, 0, 0x3343, 2);
    putLe(header, 5, spec.headerCount ? *spec.headerCount : spec.records.size(), 4);
    putLe(header, 13, spec.fieldCount ? *spec.fieldCount : spec.fields.size(), 2);
    putLe(header, 19, spec.computedRecordSize(), 2);
    putLe(header, 21, spec.computedDataOffset(), 4);
    putLe(header, 25, spec.appendedCount, 4);
    putLe(header, 29, 0, 4);

    Bytes out = header;
    std::size_t next = 0;
    for (const FieldSpec& f : spec.fields) {
        Bytes d(27, 0);
        d[0] = f.type;
        std::string name = f.name;
        name.resize(16, ' ');
        for (std::size_t i = 0; i < 16; ++i) d[1 + i] = static_cast<std::uint8_t>(name[i]);
        const std::size_t at = f.offset ? *f.offset : next;
        next = at + f.length;
        putLe(d, 17, at, 2);
        putLe(d, 19, f.length, 2);
        d[21] = 0x05;  // an unused byte that must survive
        out.insert(out.end(), d.begin(), d.end());
    }
    out.resize(out.size() + spec.gap, 0xEE);
    if (!spec.dataOffset) out.resize(spec.computedDataOffset(), 0);
    for (const Bytes& r : spec.records) out.insert(out.end(), r.begin(), r.end());
    return out;
}

// The fields of a full goods table, in an order where longer names sharing a stem come first.
inline std::vector<FieldSpec> goodsFields() {
    return {
        {"TOW:ILOSC_ECR", kReal, 8}, {"TOW:ILOSC", kReal, 8},    {"TOW:KOD", kString, 13},
        {"TOW:KODNR", kReal, 8},     {"TOW:CENADET", kReal, 8},  {"TOW:CENAHUR", kReal, 8},
        {"TOW:CENA", kReal, 8},      {"TOW:DZIAL", kLong, 4},    {"TOW:FBYTE1", kByte, 1},
        {"TOW:NAZWAF", kString, 18}, {"TOW:NAZWA", kString, 30}, {"TOW:STAN", kReal, 8},
        {"TOW:GRUPA1", kString, 4},  {"TOW:GRUPA2", kString, 4}, {"TOW:OPCJE", kShort, 2},
        {"TOW:FLONG0", kLong, 4},    {"TOW:FREAL1", kReal, 8},   {"TOW:ILOSCJMZ", kReal, 8},
        {"TOW:FREAL2", kReal, 8},    {"TOW:NUMER", kLong, 4},    {"TOW:RABATC", kReal, 8},
        {"TOW:RABAT", kReal, 8},     {"TOW:STATUS", kString, 3}, {"TOW:FORMA", kByte, 1},
        {"TOW:FBYTE2", kByte, 1},    {"TOW:WSK", kByte, 1},      {"TOW:TYPPODS", kString, 1},
        {"TOW:TYP", kByte, 1},       {"TOW:TPU", kByte, 1},      {"TOW:JM", kString, 4},
        {"TOW:TANDEM", kReal, 8},    {"TOW:HALO", kLong, 4},     {"TOW:ZAOKN", kReal, 8},
        {"TOW:ZAOKB", kReal, 8},     {"TOW:SWW", kString, 2},
    };
}

// Where a named field of `spec` starts inside a record (after the 5 leading bytes).
inline std::size_t fieldStart(const TableSpec& spec, const std::string& name) {
    std::size_t next = 0;
    for (const FieldSpec& f : spec.fields) {
        const std::size_t at = f.offset ? *f.offset : next;
        next = at + f.length;
        if (f.name == name) return 5 + at;
    }
    return static_cast<std::size_t>(-1);
}

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("lorvex-table-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

}  // namespace lorvex::tables
