#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace lorvex::sim {

// Everything the register remembers. Texts are CP852 bytes of their full width; money is held in
// hundredths, quantities in thousandths, rates in hundredths of a percent.

inline constexpr std::size_t kHeaderWidth = 217;
inline constexpr std::size_t kFooterWidth = 200;
inline constexpr std::size_t kNameWidth = 18;
inline constexpr int kCashierCount = 30;
inline constexpr int kDepartmentCount = 42;
inline constexpr int kDirectCodeCount = 42;
inline constexpr int kHaloCount = 15;
inline constexpr int kVatRateCount = 6;
inline constexpr int kMaxCardNumber = 99;
// The highest short PLU number; EAN-8 and EAN-13 codes lie above it.
inline constexpr std::uint64_t kLargestShortPlu = 16000;
// Money the register accepts in a price or amount: up to 999 999.99.
inline constexpr std::int64_t kLargestAmount = 99999999;
// A rate of at most 99.99 %.
inline constexpr std::int64_t kLargestRate = 9999;

struct Cashier {
    std::string name = std::string(kNameWidth, '\xFF');  // keyed-in names end in 0xFF fill
    std::string code = "0000";                           // 0000: the place is not in use
};

struct Department {
    std::string name = std::string(kNameWidth, ' ');
    std::int64_t amount = 0;  // the department's fixed price, 0 for an open price
    char vat = 'A';
    std::string flags = "0000";
    int trailing = 0;
    std::int64_t sales = 0;  // counter behind the department report
};

struct PluSales {
    std::int64_t value = 0;     // hundredths
    std::int64_t quantity = 0;  // thousandths
};

struct Packaging {
    std::int64_t issuedValue = 0;
    std::int64_t issuedCount = 0;
    std::int64_t returnedValue = 0;
    std::int64_t returnedCount = 0;
};

struct Plu {
    std::string name = std::string(kNameWidth, ' ');
    std::int64_t price = 0;
    char vat = 'A';
    int type = 0;
    std::string flags = "00000";
    int department = 1;
    int halo = 0;
    std::uint64_t tandem = 0;  // 0: none
    PluSales sales;
    Packaging packaging;
};

struct DiscountCard {
    std::array<int, 10> values{};  // three digits each
    int field11 = 0;               // two digits
    int field12 = 0;               // one digit
    std::string field13 = "      ";
    int field14 = 0;
    int field15 = 0;
    int field16 = 0;
};

struct HourSales {
    std::int64_t amount = 0;
    std::int64_t receipts = 0;
    std::int64_t items = 0;
    std::int64_t corrections = 0;  // signed: shown with its sign character
};

// The shape shared by a cashier's counters and the cash report.
struct CashTotals {
    std::int64_t total = 0;  // signed: shown with its sign character
    std::array<std::int64_t, 10> amounts{};
    std::array<std::int64_t, 4> counts{};
    std::array<std::int64_t, 2> extra{};
};

struct DailyTotals {
    std::string date = "000000";  // YYMMDD of the last daily report
    int number = 0;               // number of the next daily report
    std::array<std::int64_t, 8> amounts{};
    std::int64_t receipts = 0;
    std::int64_t cancelled = 0;
    std::array<std::int64_t, 4> counts{};
};

struct CardTotals {
    std::int64_t sales = 0;         // sales made with a discount card
    int averageDiscountTenths = 0;  // tenths of a percent
};

struct RegisterMemory {
    std::string header = std::string(kHeaderWidth, '\xFF');
    std::string footer = std::string(kFooterWidth, '\xFF');
    std::array<Cashier, kCashierCount> cashiers{};
    std::array<int, 7> flags{};
    std::array<int, 9> solvekFlags{};
    std::array<std::int64_t, kHaloCount> halo{};
    std::array<std::int64_t, 4> discountRates{};
    std::array<std::int64_t, 4> discountAmounts{};
    std::array<std::uint64_t, kDirectCodeCount> directCodes{};  // 0: empty slot
    std::array<std::int64_t, kVatRateCount> vatRates{};         // letters A to F
    std::string uni = std::string(10, ' ');
    std::string nip = std::string(13, ' ');
    std::map<int, DiscountCard> cards;
    std::map<std::uint64_t, std::uint64_t> linkedCodes;  // first code -> linked code
    std::array<Department, kDepartmentCount> departments{};
    std::map<std::uint64_t, Plu> plus;

    // Sales counters behind the reports.
    std::array<std::int64_t, 8> registerTotals{};
    std::array<HourSales, 24> hours{};
    std::array<CashTotals, kCashierCount> cashierTotals{};
    CashTotals cash;
    DailyTotals daily;
    CardTotals cardTotals;
    int stateDigit = 0;

    // Limits of this register.
    std::size_t pluCapacity = 4000;
    std::size_t linkedCodeCapacity = 200;
};

// A register as it comes from the factory: nothing programmed, all counters zero.
RegisterMemory emptyMemory();

// A register in use in a Polish grocery: named departments and cashiers, a few hundred goods in
// the three code ranges, sales on the counters.
RegisterMemory demoMemory();

// The kind of a goods code: a short PLU number, an EAN-8 or an EAN-13 code; anything else is none.
bool isGoodsCode(std::uint64_t code);

}  // namespace lorvex::sim
