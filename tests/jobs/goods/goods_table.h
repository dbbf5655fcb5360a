#pragma once

// A product table of goods made on the spot: header, descriptors named as a shop's table names
// them (with other fields between), records.

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace lorvex::test {

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

inline std::string goodsTable(const std::vector<TableGood>& goods, std::uint32_t extraCount = 0) {
    struct Field {
        const char* name;
        std::uint8_t type;  // 3: characters
        std::uint16_t offset, length;
    };
    static constexpr Field kFields[] = {
        {"ILOSC", 2, 0, 8},    {"KOD", 3, 8, 13},     {"KODNR", 2, 21, 8},  {"CENADET", 2, 29, 8},
        {"DZIAL", 1, 37, 4},   {"NAZWAF", 3, 41, 18}, {"NAZWA", 3, 59, 30}, {"OPCJE", 6, 89, 2},
        {"TYPPODS", 3, 91, 1}, {"TANDEM", 2, 92, 8},  {"HALO", 1, 100, 4},
    };
    constexpr std::size_t kRecord = 5 + 104;
    std::string out(85, '\0');
    const auto put = [&out](std::size_t at, std::uint64_t value, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) out[at + i] = static_cast<char>(value >> (8 * i));
    };
    put(0, 0x3343, 2);
    put(5, goods.size() + extraCount, 4);
    put(13, std::size(kFields), 2);
    put(19, kRecord, 2);
    put(21, 85 + 27 * std::size(kFields), 4);
    for (const Field& f : kFields) {
        const std::size_t at = out.size();
        out += static_cast<char>(f.type) +
               (std::string("TOW:") + f.name + std::string(16, ' ')).substr(0, 16);
        out.resize(at + 27, '\0');
        put(at + 17, f.offset, 2);
        put(at + 19, f.length, 2);
    }
    for (const TableGood& g : goods) {
        const std::size_t at = out.size() + 5;
        out.resize(at + kRecord - 5, '\0');
        const std::uint64_t values[] = {0,
                                        0,
                                        std::bit_cast<std::uint64_t>(g.code),
                                        std::bit_cast<std::uint64_t>(g.price),
                                        static_cast<std::uint32_t>(g.department),
                                        0,
                                        0,
                                        g.options,
                                        0,
                                        std::bit_cast<std::uint64_t>(g.tandem),
                                        static_cast<std::uint32_t>(g.halo)};
        for (std::size_t i = 0; i < std::size(kFields); ++i) {
            if (kFields[i].type != 3) put(at + kFields[i].offset, values[i], kFields[i].length);
        }
        out.replace(at + 41, 18, (g.name + std::string(18, ' ')).substr(0, 18));
        out[at + 91] = g.vat;
    }
    return out;
}

}  // namespace lorvex::test
