#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/cp852.h"
#include "sim/register_memory.h"
#include "sim/wire_fields.h"

namespace lorvex::sim {
namespace {

// A name in the register's code page, cut or blank-filled to its width.
std::string name18(std::string_view utf8) {
    return leftText(cp852FromUtf8(utf8), kNameWidth);
}

// A text of lines separated by LF and filled with 0xFF to the width, as keyed in at the register.
std::string receiptText(std::string_view utf8, std::size_t width) {
    std::string text = cp852FromUtf8(utf8).substr(0, width);
    text.resize(width, '\xFF');
    return text;
}

struct Good {
    const char* name;
    int department;
    char vat;
    std::int64_t price;
};

constexpr std::array<const char*, kDepartmentCount> kDepartments = {
    "Pieczywo",
    "Nabiał",
    "Mięso i wędliny",
    "Warzywa",
    "Owoce",
    "Napoje",
    "Soki",
    "Słodycze",
    "Kawa i herbata",
    "Alkohole",
    "Piwo",
    "Wyroby tytoniowe",
    "Mrożonki",
    "Przyprawy",
    "Ryby",
    "Konserwy",
    "Makarony",
    "Kasze i ryż",
    "Oleje",
    "Przetwory",
    "Dania gotowe",
    "Artykuły dziecięce",
    "Kosmetyki",
    "Chemia",
    "Prasa",
    "Zabawki",
    "Ogród",
    "Kwiaty",
    "Karma dla zwierząt",
    "Art. papiernicze",
    "Gospodarstwo",
    "Opakowania zwrotne",
    "Usługi",
    "Bakalie",
    "Płatki śniadaniowe",
    "Jaja",
    "Mąka i cukier",
    "Woda mineralna",
    "Żywność eko",
    "Garmażerka",
    "Ciasta i ciastka",
    "Różne",
};

constexpr std::array<char, kDepartmentCount> kDepartmentVat = {
    'C', 'C', 'C', 'C', 'C', 'A', 'B', 'A', 'A', 'A', 'A', 'A', 'B', 'B',
    'B', 'B', 'C', 'C', 'C', 'B', 'B', 'B', 'A', 'A', 'B', 'A', 'A', 'B',
    'A', 'A', 'A', 'D', 'A', 'B', 'B', 'C', 'C', 'A', 'C', 'B', 'B', 'A',
};

constexpr Good kGoods[] = {
    {"Chleb żytni 500g", 1, 'C', 450},    {"Bułka kajzerka", 1, 'C', 60},
    {"Chleb pszenny", 1, 'C', 390},       {"Bagietka francuska", 1, 'C', 350},
    {"Rogal maślany", 1, 'C', 180},       {"Mleko 3.2% 1l", 2, 'C', 349},
    {"Masło extra 200g", 2, 'C', 799},    {"Ser żółty gouda", 2, 'C', 2990},
    {"Jogurt naturalny", 2, 'C', 249},    {"Śmietana 18% 400g", 2, 'C', 459},
    {"Twaróg półtłusty", 2, 'C', 529},    {"Kefir 1l", 2, 'C', 399},
    {"Szynka wiejska", 3, 'C', 4290},     {"Kiełbasa krakowska", 3, 'C', 3590},
    {"Boczek wędzony", 3, 'C', 2990},     {"Pierś z kurczaka", 3, 'C', 2490},
    {"Schab bez kości", 3, 'C', 2790},    {"Parówki cielęce", 3, 'C', 899},
    {"Ziemniaki 1kg", 4, 'C', 249},       {"Marchew 1kg", 4, 'C', 299},
    {"Cebula 1kg", 4, 'C', 349},          {"Pomidory 1kg", 4, 'C', 899},
    {"Ogórki gruntowe", 4, 'C', 699},     {"Kapusta biała", 4, 'C', 399},
    {"Jabłka Ligol 1kg", 5, 'C', 399},    {"Gruszki 1kg", 5, 'C', 699},
    {"Banany 1kg", 5, 'C', 599},          {"Śliwki węgierki", 5, 'C', 799},
    {"Truskawki 500g", 5, 'C', 1299},     {"Woda źródlana 1.5l", 38, 'A', 199},
    {"Napój gazowany 2l", 6, 'A', 599},   {"Sok jabłkowy 1l", 7, 'B', 499},
    {"Sok pomarańcz. 1l", 7, 'B', 549},   {"Czekolada mleczna", 8, 'A', 549},
    {"Cukierki krówki", 8, 'A', 1299},    {"Wafelki kakaowe", 8, 'A', 199},
    {"Pączek z różą", 41, 'B', 349},      {"Sernik krakowski", 41, 'B', 2499},
    {"Kawa mielona 250g", 9, 'A', 1699},  {"Herbata czarna", 9, 'A', 899},
    {"Kakao 150g", 9, 'A', 699},          {"Piwo jasne 0.5l", 11, 'A', 399},
    {"Wódka żytnia 0.5l", 10, 'A', 2999}, {"Wino czerwone", 10, 'A', 2499},
    {"Lody śmietankowe", 13, 'B', 1199},  {"Pierogi ruskie", 13, 'B', 999},
    {"Frytki mrożone", 13, 'B', 899},     {"Pieprz czarny", 14, 'B', 299},
    {"Sól kuchenna 1kg", 14, 'B', 149},   {"Papryka słodka", 14, 'B', 249},
    {"Śledź w oleju", 15, 'B', 799},      {"Łosoś wędzony", 15, 'B', 1899},
    {"Dorsz filet", 15, 'B', 2799},       {"Groszek konserwowy", 16, 'B', 399},
    {"Makaron świderki", 17, 'C', 449},   {"Ryż biały 1kg", 18, 'C', 549},
    {"Kasza gryczana", 18, 'C', 499},     {"Olej rzepakowy 1l", 19, 'C', 899},
    {"Dżem truskawkowy", 20, 'B', 699},   {"Ogórki kiszone", 20, 'B', 799},
    {"Bigos słoik 500g", 21, 'B', 1299},  {"Gołąbki w sosie", 21, 'B', 1499},
    {"Pieluszki", 22, 'B', 4999},         {"Kaszka manna", 22, 'B', 699},
    {"Mydło w kostce", 23, 'A', 349},     {"Pasta do zębów", 23, 'A', 899},
    {"Szampon 400ml", 23, 'A', 1499},     {"Proszek do prania", 24, 'A', 2999},
    {"Płyn do naczyń", 24, 'A', 699},     {"Papier toaletowy", 31, 'A', 1599},
    {"Gazeta codzienna", 25, 'B', 350},   {"Zeszyt A5", 30, 'A', 299},
    {"Długopis", 30, 'A', 199},           {"Karma dla kota", 29, 'A', 399},
    {"Ziemia ogrodowa", 27, 'A', 1299},   {"Róża czerwona", 28, 'B', 599},
    {"Butelka zwrotna", 32, 'D', 50},     {"Skrzynka na piwo", 32, 'D', 1500},
    {"Reklamówka", 33, 'A', 100},         {"Jaja 10 szt.", 36, 'C', 1299},
    {"Mąka pszenna 1kg", 37, 'C', 399},   {"Cukier biały 1kg", 37, 'C', 449},
    {"Orzechy włoskie", 34, 'B', 1599},   {"Rodzynki 200g", 34, 'B', 599},
    {"Płatki owsiane", 35, 'B', 399},     {"Musli owocowe", 35, 'B', 1199},
    {"Woda gazowana 1.5l", 38, 'A', 219}, {"Kurczak pieczony", 40, 'B', 2199},
    {"Sałatka jarzynowa", 40, 'B', 1999}, {"Miód wielokwiatowy", 39, 'C', 2999},
};
constexpr int kGoodCount = static_cast<int>(sizeof(kGoods) / sizeof(kGoods[0]));

// Short numbers of the goods 1..kGoodCount; the two goods above 9999 show what /M adds.
constexpr std::uint64_t kBagCode = 12001;
constexpr std::uint64_t kCoffeeToGoCode = 15000;

// The short number of the returnable bottle, linked to the beers.
constexpr std::uint64_t kBottleCode = 77;
constexpr std::uint64_t kCrateCode = 78;

std::uint64_t eanCheckDigit(std::uint64_t body, int digits) {
    // Weights 3 and 1 alternate from the rightmost body digit, which carries 3.
    int sum = 0;
    int weight = 3;
    for (int i = 0; i < digits; ++i) {
        sum += static_cast<int>(body % 10) * weight;
        body /= 10;
        weight = 4 - weight;
    }
    return static_cast<std::uint64_t>((10 - sum % 10) % 10);
}

std::uint64_t ean8(std::uint64_t body7) {
    return body7 * 10 + eanCheckDigit(body7, 7);
}
std::uint64_t ean13(std::uint64_t body12) {
    return body12 * 10 + eanCheckDigit(body12, 12);
}

// Deterministic spread of demo figures.
std::int64_t spread(int seed, int modulus) {
    const auto mixed = static_cast<std::uint32_t>(seed) * 2654435761u;
    return static_cast<std::int64_t>((mixed >> 7) % static_cast<std::uint32_t>(modulus));
}

Plu makePlu(const Good& good, std::string_view name, std::int64_t price) {
    Plu plu;
    plu.name = name18(name);
    plu.price = price;
    plu.vat = good.vat;
    plu.type = 1;
    plu.flags = "00000";
    plu.department = good.department;
    plu.halo = 0;
    return plu;
}

void addSales(Plu& plu, int seed) {
    const std::int64_t pieces = spread(seed, 40);
    if (pieces == 0) return;
    plu.sales.quantity = pieces * 1000;
    plu.sales.value = pieces * plu.price;
}

void addGoods(RegisterMemory& memory) {
    for (int i = 0; i < kGoodCount; ++i) {
        Plu plu = makePlu(kGoods[i], kGoods[i].name, kGoods[i].price);
        addSales(plu, i + 1);
        memory.plus[static_cast<std::uint64_t>(i + 1)] = plu;
    }
    // Weighed goods sell in fractions of a kilogram; one sale was returned.
    memory.plus[8].sales = {1345, 450};     // 0.450 kg of gouda
    memory.plus[13].sales = {7508, 1750};   // 1.750 kg of ham
    memory.plus[19].sales = {-249, -1000};  // a returned bag of potatoes
    memory.plus[kBottleCode].packaging = {2500, 50, 1500, 30};
    memory.plus[kCrateCode].packaging = {6000, 4, 3000, 2};

    Plu bag = makePlu(kGoods[78], "Torba papierowa", 50);
    addSales(bag, 501);
    memory.plus[kBagCode] = bag;
    Plu coffee = makePlu(kGoods[38], "Kawa na wynos", 790);
    addSales(coffee, 502);
    memory.plus[kCoffeeToGoCode] = coffee;

    static constexpr std::array<const char*, 4> kPrefixes = {"Eko ", "Mini ", "Duży ", "Extra "};
    for (int i = 0; i < 40; ++i) {
        const Good& good = kGoods[i];
        const std::string name = std::string(kPrefixes[i % 4]) + good.name;
        Plu plu = makePlu(good, name, good.price + 50);
        addSales(plu, 100 + i);
        memory.plus[ean8(5900000 + 137 * static_cast<std::uint64_t>(i + 1))] = plu;
    }
    for (int i = 0; i < 160; ++i) {
        const Good& good = kGoods[(i * 7) % kGoodCount];
        // The goods' own name, cut at a word so that the variant number fits.
        std::string name = cp852FromUtf8(good.name);
        if (name.size() > 15) {
            const std::size_t space = name.rfind(' ', 15);
            name.resize(space != std::string::npos && space > 0 ? space : 15);
        }
        name += ' ';
        name += zeroPadded(i % 100, 2);
        Plu plu = makePlu(good, "", good.price + 10 * (i % 9));
        plu.name = leftText(name, kNameWidth);
        if (i % 5 == 0) plu.flags = "10000";
        addSales(plu, 300 + i);
        const std::uint64_t company = 5900000 + 1234 * static_cast<std::uint64_t>(i / 40);
        memory.plus[ean13(company * 100000 + 10 * static_cast<std::uint64_t>(i) + 1)] = plu;
    }
    // Beers sold in returnable bottles carry the bottle as their tandem. Only goods whose code
    // comes after the bottle's do, so a dump loads back in code order.
    const std::string beer = cp852FromUtf8("Piwo");
    for (auto& [code, plu] : memory.plus) {
        if (code > kBottleCode && plu.name.rfind(beer, 0) == 0) plu.tandem = kBottleCode;
    }
}

void addDepartments(RegisterMemory& memory) {
    for (int i = 0; i < kDepartmentCount; ++i) {
        Department& department = memory.departments[i];
        department.name = name18(kDepartments[i]);
        department.vat = kDepartmentVat[i];
        department.flags = i == 31 ? "0100" : "0000";
        department.trailing = 1 + i % 4;
        department.amount = i == 31 ? 50 : 0;
        department.sales = 1000 * spread(i + 7, 900);
    }
}

void addCashiers(RegisterMemory& memory) {
    static constexpr std::array<const char*, 6> kNames = {
        "Anna Kowalska",    "Józef Wiśniewski", "Małgorzata Nowak",
        "Łukasz Zieliński", "Ewa Dąbrowska",    "Grzegorz Wójcik",
    };
    static constexpr std::array<const char*, 6> kCodes = {"1111", "2468", "1357",
                                                          "0042", "9090", "7305"};
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        Cashier& cashier = memory.cashiers[i];
        cashier.name = cp852FromUtf8(kNames[i]).substr(0, kNameWidth);
        cashier.name.resize(kNameWidth, '\xFF');
        cashier.code = kCodes[i];
        CashTotals& totals = memory.cashierTotals[i];
        totals.total = 150000 + 12345 * static_cast<std::int64_t>(i);
        for (std::size_t k = 0; k < totals.amounts.size(); ++k) {
            totals.amounts[k] = spread(static_cast<int>(i * 10 + k), 50000);
        }
        totals.counts = {40 + static_cast<std::int64_t>(i), 3, 1, 12};
        totals.extra = {2000, 500};
    }
}

void addCounters(RegisterMemory& memory) {
    memory.registerTotals = {1254321, 803210, 412000, 0, 0, 0, 2469531, 1875};
    for (int hour = 8; hour <= 20; ++hour) {
        HourSales& sales = memory.hours[hour];
        sales.amount = 10000 + 1000 * spread(hour, 90);
        sales.receipts = 5 + spread(hour + 50, 30);
        sales.items = sales.receipts * 4;
        sales.corrections = hour == 12 ? -450 : 0;
    }
    memory.cash.total = 523499;
    for (std::size_t k = 0; k < memory.cash.amounts.size(); ++k) {
        memory.cash.amounts[k] = spread(static_cast<int>(k + 400), 90000);
    }
    memory.cash.counts = {212, 7, 3, 41};
    memory.cash.extra = {10000, 2500};
    memory.daily.date = "250611";
    memory.daily.number = 128;
    memory.daily.amounts = {1254321, 803210, 412000, 0, 0, 0, 2469531, 1875};
    memory.daily.receipts = 212;
    memory.daily.cancelled = 3;
    memory.daily.counts = {7, 1, 0, 2};
    memory.cardTotals = {57, 45};
}

}  // namespace

bool isGoodsCode(std::uint64_t code) {
    return (code >= 1 && code <= kLargestShortPlu) || (code >= 10000000 && code <= 99999999) ||
           (code >= 1000000000000ull && code <= 9999999999999ull);
}

RegisterMemory emptyMemory() {
    RegisterMemory memory;
    memory.daily.number = 1;
    return memory;
}

RegisterMemory demoMemory() {
    RegisterMemory memory = emptyMemory();
    memory.header = receiptText(
        "SKLEP SPOŻYWCZY \"POD LIPĄ\"\nul. Długa 12\n00-950 Warszawa\nNIP 526-000-12-46",
        kHeaderWidth);
    memory.footer = receiptText("DZIĘKUJEMY ZA ZAKUPY\nZAPRASZAMY PONOWNIE", kFooterWidth);
    memory.flags = {0x01, 0x00, 0x03, 0x10, 0x00, 0x02, 0x09};
    memory.solvekFlags = {0x01, 0x00, 0x03, 0x10, 0x00, 0x02, 0x09, 0x20, 0x00};
    for (int i = 0; i < kHaloCount; ++i) memory.halo[i] = 5000 * (i + 1);
    memory.discountRates = {500, 1000, 250, 1500};
    memory.discountAmounts = {100, 500, 1000, 2000};
    memory.vatRates = {2300, 800, 500, 0, 0, 0};
    memory.uni = "ABC1234567";
    memory.nip = "526-000-12-46";
    addDepartments(memory);
    addGoods(memory);
    addCashiers(memory);
    addCounters(memory);

    std::uint64_t slot = 0;
    for (const std::uint64_t code : {1ull, 2ull, 6ull, 7ull, 13ull, 19ull, 25ull, 42ull}) {
        memory.directCodes[slot++] = code;
    }
    memory.directCodes[slot++] = ean8(5900000 + 137);
    memory.directCodes[slot++] = ean13(5900000ull * 100000 + 1);

    for (int number = 1; number <= 3; ++number) {
        DiscountCard card;
        for (std::size_t k = 0; k < card.values.size(); ++k) {
            card.values[k] = number * 5 + static_cast<int>(k);
        }
        card.field11 = 10 * number;
        card.field12 = number;
        card.field13 = leftText(number == 1 ? "STALY" : number == 2 ? "VIP" : "PRAC", 6);
        card.field14 = 5 * number;
        card.field15 = 1;
        card.field16 = 30;
        memory.cards[number] = card;
    }
    memory.linkedCodes[42] = kBottleCode;
    memory.linkedCodes[ean8(5900000 + 137 * 2)] = kBottleCode;
    memory.linkedCodes[ean13(5900000ull * 100000 + 11)] = kCrateCode;
    return memory;
}

}  // namespace lorvex::sim
