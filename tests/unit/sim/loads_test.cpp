// Load records as the PC formats them: what the register stores (and answers back), and the
// status it refuses a bad record with.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/cp852.h"
#include "sim/register_model.h"
#include "sim/status_codes.h"
#include "sim_rig.h"

namespace lorvex::sim {
namespace {

int load(RegisterModel& model, const std::string& requestText, const std::string& record) {
    Request parsed;
    const int code = parseRequest(requestText, parsed);
    return code != 0 ? code : model.load(parsed, record);
}

std::string dumpOne(const RegisterModel& model, const std::string& requestText) {
    Request parsed;
    if (parseRequest(requestText, parsed) != 0) return "<bad request>";
    const DumpAnswer answer = model.dump(parsed);
    if (answer.error != 0) return errorAnswer(parsed.letter, answer.error);
    return answer.blocks.size() == 1 ? answer.blocks[0] : "<not one block>";
}

// The PC's record formats, written out here rather than taken from the simulator.
std::string departmentRecord(int action, int number, const char* name, double amount, char vat,
                             const char* flags, int trailing) {
    char text[128];
    std::snprintf(text, sizeof text, "DH%1d%02d%-18s%10.0f%c%4s%02d", action, number, name,
                  amount * 100, vat, flags, trailing);
    return text;
}

std::string pluRecord(int action, double code, const std::string& name, double price, char vat,
                      const char* flags, int department, int halo, double tandem) {
    char text[160];
    if (tandem > 0) {
        std::snprintf(text, sizeof text, "DI%1d%18.0f%-18s%10.0f%c%1d%5s%02d%02d%18.0f", action,
                      code, name.c_str(), price * 100, vat, 1, flags, department, halo, tandem);
    } else {
        std::snprintf(text, sizeof text, "DI%1d%18.0f%-18s%10.0f%c%1d%5s%02d%02d%18s", action, code,
                      name.c_str(), price * 100, vat, 1, flags, department, halo, " ");
    }
    return text;
}

std::string haloRecord(double first) {
    std::string record = "DE";
    char field[32];
    for (int i = 0; i < 15; ++i) {
        std::snprintf(field, sizeof field, "%10.0f", (i == 0 ? first : i) * 100);
        record += field;
    }
    return record;
}

std::string discountRecord(double rate, double amount) {
    char text[80];
    std::snprintf(text, sizeof text, "DG%05.0f%05.0f%05.0f%05.0f%010.0f%010.0f%010.0f%010.0f",
                  rate * 100, 500.0, 0.0, 99.99 * 100, amount * 100, 0.0, 10000.0, 2.0);
    return text;
}

std::string cardRecord(int first, const char* field13) {
    std::string record = "Dj0";
    char field[16];
    for (int i = 0; i < 10; ++i) {
        std::snprintf(field, sizeof field, "%03d", i == 0 ? first : 12);
        record += field;
    }
    char tail[32];
    std::snprintf(tail, sizeof tail, "%02d%1d%-6s%02d%1d%02d", 10, 2, field13, 5, 1, 30);
    return record + tail;
}

std::string linkedRecord(double first, double second) {
    char text[64];
    std::snprintf(text, sizeof text, "Dh%18.0f%18.0f", first, second);
    return text;
}

std::string pluRequest(long long code) {
    return request('I', 1, code, 999999999);
}

TEST(RegisterLoads, WhatIsLoadedIsAnsweredBack) {
    RegisterModel model(emptyMemory());
    std::string header = cp852FromUtf8("SKLEP \"ŻABKA\"\nul. Polna 1");
    header.resize(217, '\xFF');
    std::string footer = cp852FromUtf8("DZIĘKUJEMY\n");
    footer.resize(200, ' ');
    struct Case {
        std::string load;
        std::string record;
        std::string dump;
        std::string answer;  // empty: the record itself
    };
    const std::vector<Case> cases = {
        // The PC writes the flags in lower-case hexadecimal; the register answers upper-case.
        {request('A', 1), "DA01000cff100009", request('A', 0), "DA01000CFF100009"},
        {request('s', 1), "Ds01020304" + std::string(12, '0') + "0506070809" + std::string(10, '0'),
         request('s', 0), ""},
        {request('B', 1), "DB" + header, request('B', 0), ""},
        {request('C', 1), "DC" + footer, request('C', 0), ""},
        {request('D', 1, 3, 3), "DD3JAN               1234", request('D', 0, 3, 3), ""},
        {request('D', 1, 29, 29), "DDT" + cp852FromUtf8("Michał Łęcki      ") + "  42",
         request('D', 0, 29, 29), ""},
        {request('E', 1), haloRecord(12.5), request('E', 0), ""},
        {request('G', 1), discountRecord(12.5, 3.99), request('G', 0), ""},
        {request('J', 1, 3, 3), "DJ03     5900000000001", request('J', 0, 3, 3), ""},
        {request('J', 1, 4, 4), "DJ04" + std::string(18, ' '), request('J', 0, 4, 4), ""},
        {request('K', 1), "DK230008000500000000000000", request('K', 0), ""},
        {request('M', 1), "DMXYZ0000001", request('M', 0), ""},
        {request('N', 1), "DN111-222-33-44", request('N', 0), ""},
        {request('j', 1, 7, 7), cardRecord(5, "AB"), request('j', 0, 7, 7), ""},
        {request('H', 1, 5, 5), departmentRecord(1, 5, "Napoje", 3.5, 'A', "0000", 1),
         request('H', 0, 5, 5), ""},
        {request('H', 1, 6, 6),
         departmentRecord(1, 6, cp852FromUtf8("Słodycze ąęł").c_str(), 0, 'F', "  01", 99),
         request('H', 0, 6, 6), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8FromCp852(c.record));
        ASSERT_EQ(load(model, c.load, c.record), status::kOk);
        EXPECT_EQ(dumpOne(model, c.dump), c.answer.empty() ? c.record : c.answer);
    }
    EXPECT_EQ(model.memory().halo[0], 1250);
    EXPECT_EQ(model.memory().discountRates[0], 1250);
    EXPECT_EQ(model.memory().discountAmounts[0], 399);
}

TEST(RegisterLoads, ChangingGoodsKeepsTheirSalesAndErasingTakesThemOut) {
    RegisterModel model(demoMemory());
    const std::int64_t sold = model.memory().plus.at(8).sales.value;
    ASSERT_NE(sold, 0);
    ASSERT_EQ(load(model, pluRequest(8), pluRecord(1, 8, "Gouda", 31.5, 'C', "00000", 2, 0, 0)),
              status::kOk);
    EXPECT_EQ(model.memory().plus.at(8).price, 3150);
    EXPECT_EQ(model.memory().plus.at(8).sales.value, sold);

    const std::string stored =
        pluRecord(1, 5901234123457.0, cp852FromUtf8("Piwo żywe"), 4.2, 'A', "00100", 11, 3, 77);
    ASSERT_EQ(load(model, pluRequest(5901234), stored), status::kOk);
    const Plu& plu = model.memory().plus.at(5901234123457ull);
    EXPECT_EQ(plu.name, cp852FromUtf8("Piwo żywe") + std::string(9, ' '));
    EXPECT_EQ(plu.tandem, 77u);
    EXPECT_EQ(plu.flags, "00100");

    ASSERT_EQ(
        load(model, pluRequest(5901234), pluRecord(0, 5901234123457.0, "", 0, 'A', "", 0, 0, 0)),
        status::kOk);
    EXPECT_EQ(model.memory().plus.count(5901234123457ull), 0u);

    const std::int64_t departmentSales = model.memory().departments[1].sales;
    ASSERT_EQ(load(model, request('H', 1, 2, 2), departmentRecord(0, 2, "", 0, 'A', "", 0)),
              status::kOk);
    EXPECT_EQ(model.memory().departments[1].name, std::string(18, ' '));
    EXPECT_EQ(model.memory().departments[1].sales, departmentSales);
}

TEST(RegisterLoads, BadRecordsAreRefusedWithTheRegistersCodes) {
    struct Case {
        const char* why;
        std::string load;
        std::string record;
        int status;
    };
    const std::string napoje = departmentRecord(1, 5, "Napoje", 3.5, 'A', "0000", 1);
    auto changed = [](std::string text, std::size_t at, const std::string& with) {
        return text.replace(at, with.size(), with);
    };
    const std::string good = pluRecord(1, 1234, "Chleb", 4.5, 'C', "00000", 1, 0, 0);
    const std::vector<Case> cases = {
        {"department 43", request('H', 1, 43, 43), departmentRecord(1, 43, "X", 1, 'A', "0000", 1),
         status::kBadIndex},
        {"numbers disagree", request('H', 1, 5, 5), departmentRecord(1, 6, "X", 1, 'A', "0000", 1),
         status::kBadStart},
        {"action digit", request('H', 1, 5, 5), changed(napoje, 2, "2"), status::kBadTask},
        {"control in name", request('H', 1, 5, 5), changed(napoje, 7, "\x01"), status::kBadName},
        {"negative amount", request('H', 1, 5, 5),
         departmentRecord(1, 5, "X", -12.5, 'A', "0000", 1), status::kValueTooLarge},
        {"amount too large", request('H', 1, 5, 5),
         departmentRecord(1, 5, "X", 10000000, 'A', "0000", 1), status::kValueTooLarge},
        {"letter in amount", request('H', 1, 5, 5), changed(napoje, 28, "x"), status::kBadDigits},
        {"no VAT G", request('H', 1, 5, 5), departmentRecord(1, 5, "X", 1, 'G', "0000", 1),
         status::kBadVat},
        {"flag x", request('H', 1, 5, 5), departmentRecord(1, 5, "X", 1, 'A', "00x0", 1),
         status::kBadFlag},
        {"name too long", request('H', 1, 5, 5),
         departmentRecord(1, 5, "A name of twenty ch", 1, 'A', "0000", 1),
         status::kBadTransmission},
        {"wrong kind", request('H', 1, 5, 5), "DI" + napoje.substr(2), status::kBadTransmission},

        {"code between ranges", pluRequest(20000),
         pluRecord(1, 20000, "X", 1, 'A', "00000", 1, 0, 0), status::kNoSuchItem},
        {"erase a missing good", pluRequest(4321),
         pluRecord(0, 4321, "X", 1, 'A', "00000", 1, 0, 0), status::kNoSuchItem},
        {"missing tandem", pluRequest(1234), pluRecord(1, 1234, "X", 1, 'A', "00000", 1, 0, 4444),
         status::kNoTandem},
        {"PLU flag 2", pluRequest(1234), changed(good, 51, "00200"), status::kBadFlag},
        {"department 0", pluRequest(1234), pluRecord(1, 1234, "X", 1, 'A', "00000", 0, 0, 0),
         status::kBadIndex},
        {"blank name", pluRequest(1234), pluRecord(1, 1234, "", 1, 'A', "00000", 1, 0, 0),
         status::kBadName},
        {"letters in code", pluRequest(1234), changed(good, 15, "12a"), status::kBadDigits},
        {"type digit", pluRequest(1234), changed(good, 50, "x"), status::kBadDigits},

        {"cashier 30", request('D', 1, 30, 30), "DD0JAN               1234", status::kBadIndex},
        {"cashier 12 as two digits", request('D', 1, 12, 12), "DD12JAN               1234",
         status::kBadTransmission},
        {"cashier place", request('D', 1, 3, 3), "DD4JAN               1234", status::kBadStart},
        {"line feed in code", request('D', 1, 3, 3), "DD3JAN               12\n ",
         status::kBadDigits},
        {"flag not hex", request('A', 1), "DA01000cff10000G", status::kBadFlag},
        {"flag of three digits", request('A', 1), "DA01000cff1000100", status::kBadTransmission},
        {"SOLVEK fill", request('s', 1),
         "Ds01020304" + std::string(11, '0') + "x0506070809" + std::string(10, '0'),
         status::kBadFlag},
        {"negative halo", request('E', 1), haloRecord(-1), status::kValueTooLarge},
        {"rate of 100 %", request('G', 1), discountRecord(100, 0), status::kValueTooLarge},
        {"slot 43", request('J', 1, 43, 43), "DJ43" + std::string(18, ' '), status::kBadIndex},
        {"slots disagree", request('J', 1, 3, 3), "DJ04" + std::string(18, ' '), status::kBadStart},
        {"card 0", request('j', 1, 0, 0), cardRecord(5, "AB"), status::kBadIndex},
        {"card field", request('j', 1, 1, 1), changed(cardRecord(5, "AB"), 3, "0a5"),
         status::kBadDigits},
        {"linked to no code", request('h', 1), linkedRecord(0, 77), status::kNoSuchItem},
        {"unlink a missing pair", request('h', 1), linkedRecord(13, 0), status::kNoSuchItem},
        {"control in header", request('B', 1), "DB\x01" + std::string(216, '\xFF'),
         status::kBadName},
        {"control in NIP", request('N', 1),
         "DN111-222-33\x7F"
         "44",
         status::kBadName},
        {"short header", request('B', 1), "DB" + std::string(100, 'x'), status::kBadTransmission},
    };
    for (const Case& c : cases) {
        RegisterModel model(demoMemory());
        EXPECT_EQ(load(model, c.load, c.record), c.status) << c.why;
        EXPECT_EQ(model.revision(), 0u) << c.why << ": a refused record changed the register";
    }
}

TEST(RegisterLoads, FullTablesRefuseNewItemsButTakeChanges) {
    RegisterMemory memory = emptyMemory();
    memory.pluCapacity = 2;
    memory.linkedCodeCapacity = 1;
    RegisterModel model(memory);
    EXPECT_EQ(load(model, pluRequest(1), pluRecord(1, 1, "A", 1, 'A', "00000", 1, 0, 0)), 0);
    EXPECT_EQ(load(model, pluRequest(2), pluRecord(1, 2, "B", 1, 'A', "00000", 1, 0, 1)), 0);
    EXPECT_EQ(load(model, pluRequest(3), pluRecord(1, 3, "C", 1, 'A', "00000", 1, 0, 0)),
              status::kPluBaseFull);
    EXPECT_EQ(load(model, pluRequest(2), pluRecord(1, 2, "B2", 1, 'A', "00000", 1, 0, 0)), 0);

    EXPECT_EQ(load(model, request('h', 1), linkedRecord(5900000000001.0, 12)), 0);
    EXPECT_EQ(load(model, request('h', 1), linkedRecord(13, 12)), status::kPluBaseFull);
    EXPECT_EQ(load(model, request('h', 1), linkedRecord(5900000000001.0, 14)), 0);
    EXPECT_EQ(model.memory().linkedCodes.at(5900000000001ull), 14u);
    EXPECT_EQ(load(model, request('h', 1), linkedRecord(5900000000001.0, 0)), 0);
    EXPECT_TRUE(model.memory().linkedCodes.empty());
}

}  // namespace
}  // namespace lorvex::sim
