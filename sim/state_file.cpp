#include "sim/state_file.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <system_error>
#include <vector>

namespace lorvex::sim {
namespace {

constexpr const char* kMagic = "lorvex-sim state 1";

std::string escaped(const std::string& text) {
    std::string out = "=";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && byte != '%') {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        }
    }
    return out;
}

class Line {
  public:
    explicit Line(std::string key) : text_(std::move(key)) {}
    Line& operator<<(std::int64_t value) {
        text_ += ' ' + std::to_string(value);
        return *this;
    }
    Line& operator<<(std::uint64_t value) {
        text_ += ' ' + std::to_string(value);
        return *this;
    }
    Line& operator<<(int value) { return *this << static_cast<std::int64_t>(value); }
    Line& operator<<(const std::string& text) {
        text_ += ' ' + escaped(text);
        return *this;
    }
    template <typename T, std::size_t N>
    Line& operator<<(const std::array<T, N>& values) {
        for (const T& value : values) *this << value;
        return *this;
    }
    std::string text() const { return text_ + '\n'; }

  private:
    std::string text_;
};

// The tokens of one line, read in order with their checks.
class Tokens {
  public:
    Tokens(std::vector<std::string> tokens, std::string& error)
        : tokens_(std::move(tokens)), error_(error) {}

    bool ok() const { return ok_; }
    bool finished() {
        if (ok_ && next_ != tokens_.size()) fail("more values than expected");
        return ok_;
    }

    std::int64_t number(std::int64_t low, std::int64_t high) {
        const std::string* token = take();
        if (token == nullptr) return low;
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(token->data(), token->data() + token->size(), value);
        if (ec != std::errc() || end != token->data() + token->size() || value < low ||
            value > high) {
            fail("bad number \"" + *token + "\"");
            return low;
        }
        return value;
    }
    std::uint64_t code() {
        const std::string* token = take();
        if (token == nullptr) return 0;
        std::uint64_t value = 0;
        const auto [end, ec] = std::from_chars(token->data(), token->data() + token->size(), value);
        if (ec != std::errc() || end != token->data() + token->size()) {
            fail("bad code \"" + *token + "\"");
        }
        return value;
    }
    std::string text(std::size_t width) {
        const std::string* token = take();
        if (token == nullptr) return std::string(width, ' ');
        std::string out;
        bool good = !token->empty() && (*token)[0] == '=';
        for (std::size_t i = 1; good && i < token->size(); ++i) {
            if ((*token)[i] != '%') {
                out += (*token)[i];
                continue;
            }
            int byte = 0;
            const char* first = token->data() + i + 1;
            const auto [end, ec] = std::from_chars(
                first, first + std::min<std::size_t>(2, token->size() - i - 1), byte, 16);
            good = ec == std::errc() && end == first + 2;
            out += static_cast<char>(byte);
            i += 2;
        }
        if (!good || out.size() != width) {
            fail("bad text of width " + std::to_string(width));
            return std::string(width, ' ');
        }
        return out;
    }
    char letter() {
        const std::string text = this->text(1);
        return text[0];
    }
    template <std::size_t N>
    void numbers(std::array<std::int64_t, N>& values, std::int64_t low, std::int64_t high) {
        for (std::int64_t& value : values) value = number(low, high);
    }
    template <std::size_t N>
    void numbers(std::array<int, N>& values, int low, int high) {
        for (int& value : values) value = static_cast<int>(number(low, high));
    }

  private:
    const std::string* take() {
        if (!ok_) return nullptr;
        if (next_ >= tokens_.size()) {
            fail("too few values");
            return nullptr;
        }
        return &tokens_[next_++];
    }
    void fail(const std::string& message) {
        if (ok_) error_ = message;
        ok_ = false;
    }

    std::vector<std::string> tokens_;
    std::size_t next_ = 0;
    bool ok_ = true;
    std::string& error_;
};

constexpr std::int64_t kBig = 999999999999999999;  // 18 digits: every counter the register shows

void readCashTotals(Tokens& in, CashTotals& totals) {
    totals.total = in.number(-kBig, kBig);
    in.numbers(totals.amounts, -kBig, kBig);
    in.numbers(totals.counts, -kBig, kBig);
    in.numbers(totals.extra, -kBig, kBig);
}

void writeCashTotals(Line& line, const CashTotals& totals) {
    line << totals.total << totals.amounts << totals.counts << totals.extra;
}

using Reader = std::function<void(Tokens&, RegisterMemory&)>;

const std::map<std::string, Reader>& readers() {
    static const std::map<std::string, Reader> kReaders = {
        {"header", [](Tokens& in, RegisterMemory& m) { m.header = in.text(kHeaderWidth); }},
        {"footer", [](Tokens& in, RegisterMemory& m) { m.footer = in.text(kFooterWidth); }},
        {"cashier",
         [](Tokens& in, RegisterMemory& m) {
             Cashier& cashier = m.cashiers[in.number(0, kCashierCount - 1)];
             cashier.name = in.text(kNameWidth);
             cashier.code = in.text(4);
         }},
        {"flags", [](Tokens& in, RegisterMemory& m) { in.numbers(m.flags, 0, 255); }},
        {"solvek-flags", [](Tokens& in, RegisterMemory& m) { in.numbers(m.solvekFlags, 0, 255); }},
        {"halo", [](Tokens& in, RegisterMemory& m) { in.numbers(m.halo, 0, kLargestAmount); }},
        {"discount-rates",
         [](Tokens& in, RegisterMemory& m) { in.numbers(m.discountRates, 0, kLargestRate); }},
        {"discount-amounts",
         [](Tokens& in, RegisterMemory& m) { in.numbers(m.discountAmounts, 0, kLargestAmount); }},
        {"direct",
         [](Tokens& in, RegisterMemory& m) {
             const auto slot = in.number(1, kDirectCodeCount);
             m.directCodes[slot - 1] = in.code();
         }},
        {"vat", [](Tokens& in, RegisterMemory& m) { in.numbers(m.vatRates, 0, 9999); }},
        {"uni", [](Tokens& in, RegisterMemory& m) { m.uni = in.text(10); }},
        {"nip", [](Tokens& in, RegisterMemory& m) { m.nip = in.text(13); }},
        {"card",
         [](Tokens& in, RegisterMemory& m) {
             DiscountCard card;
             const auto number = static_cast<int>(in.number(1, kMaxCardNumber));
             in.numbers(card.values, 0, 999);
             card.field11 = static_cast<int>(in.number(0, 99));
             card.field12 = static_cast<int>(in.number(0, 9));
             card.field13 = in.text(6);
             card.field14 = static_cast<int>(in.number(0, 99));
             card.field15 = static_cast<int>(in.number(0, 9));
             card.field16 = static_cast<int>(in.number(0, 99));
             if (in.ok()) m.cards[number] = card;
         }},
        {"linked",
         [](Tokens& in, RegisterMemory& m) {
             const std::uint64_t first = in.code();
             const std::uint64_t second = in.code();
             if (in.ok()) m.linkedCodes[first] = second;
         }},
        {"department",
         [](Tokens& in, RegisterMemory& m) {
             Department& department = m.departments[in.number(1, kDepartmentCount) - 1];
             department.name = in.text(kNameWidth);
             department.amount = in.number(0, kLargestAmount);
             department.vat = in.letter();
             department.flags = in.text(4);
             department.trailing = static_cast<int>(in.number(0, 99));
             department.sales = in.number(-kBig, kBig);
         }},
        {"plu",
         [](Tokens& in, RegisterMemory& m) {
             Plu plu;
             const std::uint64_t code = in.code();
             plu.name = in.text(kNameWidth);
             plu.price = in.number(0, kLargestAmount);
             plu.vat = in.letter();
             plu.type = static_cast<int>(in.number(0, 9));
             plu.flags = in.text(5);
             plu.department = static_cast<int>(in.number(0, 99));
             plu.halo = static_cast<int>(in.number(0, 99));
             plu.tandem = in.code();
             plu.sales.value = in.number(-kBig, kBig);
             plu.sales.quantity = in.number(-kBig, kBig);
             plu.packaging.issuedValue = in.number(-kBig, kBig);
             plu.packaging.issuedCount = in.number(-kBig, kBig);
             plu.packaging.returnedValue = in.number(-kBig, kBig);
             plu.packaging.returnedCount = in.number(-kBig, kBig);
             if (in.ok()) m.plus[code] = plu;
         }},
        {"register-totals",
         [](Tokens& in, RegisterMemory& m) { in.numbers(m.registerTotals, -kBig, kBig); }},
        {"hour",
         [](Tokens& in, RegisterMemory& m) {
             HourSales& hour = m.hours[in.number(0, 23)];
             hour.amount = in.number(-kBig, kBig);
             hour.receipts = in.number(-kBig, kBig);
             hour.items = in.number(-kBig, kBig);
             hour.corrections = in.number(-kBig, kBig);
         }},
        {"cashier-totals",
         [](Tokens& in, RegisterMemory& m) {
             readCashTotals(in, m.cashierTotals[in.number(0, kCashierCount - 1)]);
         }},
        {"cash", [](Tokens& in, RegisterMemory& m) { readCashTotals(in, m.cash); }},
        {"daily",
         [](Tokens& in, RegisterMemory& m) {
             m.daily.date = in.text(6);
             m.daily.number = static_cast<int>(in.number(0, 999999999));
             in.numbers(m.daily.amounts, -kBig, kBig);
             m.daily.receipts = in.number(-kBig, kBig);
             m.daily.cancelled = in.number(-kBig, kBig);
             in.numbers(m.daily.counts, -kBig, kBig);
         }},
        {"card-totals",
         [](Tokens& in, RegisterMemory& m) {
             m.cardTotals.sales = in.number(-kBig, kBig);
             m.cardTotals.averageDiscountTenths = static_cast<int>(in.number(0, 999));
         }},
        {"state-digit",
         [](Tokens& in, RegisterMemory& m) { m.stateDigit = static_cast<int>(in.number(0, 9)); }},
        {"plu-capacity",
         [](Tokens& in, RegisterMemory& m) {
             m.pluCapacity = static_cast<std::size_t>(in.number(0, 1000000));
         }},
        {"linked-capacity",
         [](Tokens& in, RegisterMemory& m) {
             m.linkedCodeCapacity = static_cast<std::size_t>(in.number(0, 1000000));
         }},
    };
    return kReaders;
}

}  // namespace

std::string stateText(const RegisterMemory& m) {
    std::string out = std::string(kMagic) + '\n';
    out += (Line("header") << m.header).text();
    out += (Line("footer") << m.footer).text();
    for (int i = 0; i < kCashierCount; ++i) {
        out += (Line("cashier") << i << m.cashiers[i].name << m.cashiers[i].code).text();
    }
    out += (Line("flags") << m.flags).text();
    out += (Line("solvek-flags") << m.solvekFlags).text();
    out += (Line("halo") << m.halo).text();
    out += (Line("discount-rates") << m.discountRates).text();
    out += (Line("discount-amounts") << m.discountAmounts).text();
    for (int slot = 1; slot <= kDirectCodeCount; ++slot) {
        out += (Line("direct") << slot << m.directCodes[slot - 1]).text();
    }
    out += (Line("vat") << m.vatRates).text();
    out += (Line("uni") << m.uni).text();
    out += (Line("nip") << m.nip).text();
    for (const auto& [number, card] : m.cards) {
        out += (Line("card") << number << card.values << card.field11 << card.field12
                             << card.field13 << card.field14 << card.field15 << card.field16)
                   .text();
    }
    for (const auto& [first, second] : m.linkedCodes) {
        out += (Line("linked") << first << second).text();
    }
    for (int i = 0; i < kDepartmentCount; ++i) {
        const Department& d = m.departments[i];
        out += (Line("department") << i + 1 << d.name << d.amount << std::string(1, d.vat)
                                   << d.flags << d.trailing << d.sales)
                   .text();
    }
    for (const auto& [code, p] : m.plus) {
        out +=
            (Line("plu") << code << p.name << p.price << std::string(1, p.vat) << p.type << p.flags
                         << p.department << p.halo << p.tandem << p.sales.value << p.sales.quantity
                         << p.packaging.issuedValue << p.packaging.issuedCount
                         << p.packaging.returnedValue << p.packaging.returnedCount)
                .text();
    }
    out += (Line("register-totals") << m.registerTotals).text();
    for (int hour = 0; hour < 24; ++hour) {
        const HourSales& h = m.hours[hour];
        out += (Line("hour") << hour << h.amount << h.receipts << h.items << h.corrections).text();
    }
    for (int i = 0; i < kCashierCount; ++i) {
        Line line("cashier-totals");
        line << i;
        writeCashTotals(line, m.cashierTotals[i]);
        out += line.text();
    }
    Line cash("cash");
    writeCashTotals(cash, m.cash);
    out += cash.text();
    out += (Line("daily") << m.daily.date << m.daily.number << m.daily.amounts << m.daily.receipts
                          << m.daily.cancelled << m.daily.counts)
               .text();
    out += (Line("card-totals") << m.cardTotals.sales << m.cardTotals.averageDiscountTenths).text();
    out += (Line("state-digit") << m.stateDigit).text();
    out += (Line("plu-capacity") << static_cast<std::uint64_t>(m.pluCapacity)).text();
    out += (Line("linked-capacity") << static_cast<std::uint64_t>(m.linkedCodeCapacity)).text();
    out += "end\n";
    return out;
}

bool readStateText(const std::string& text, RegisterMemory& memory, std::string& error) {
    RegisterMemory loaded = emptyMemory();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool ended = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1) {
            if (line != kMagic) {
                error = "not a lorvex-sim state file";
                return false;
            }
            continue;
        }
        if (ended) {
            error = "line " + std::to_string(number) + ": text after the end";
            return false;
        }
        std::istringstream words(line);
        std::vector<std::string> tokens;
        std::string word;
        while (words >> word) tokens.push_back(word);
        if (tokens.empty()) continue;
        if (tokens.size() == 1 && tokens[0] == "end") {
            ended = true;
            continue;
        }
        const auto reader = readers().find(tokens[0]);
        if (reader == readers().end()) {
            error = "line " + std::to_string(number) + ": unknown item \"" + tokens[0] + "\"";
            return false;
        }
        std::string message;
        Tokens values(std::vector<std::string>(tokens.begin() + 1, tokens.end()), message);
        reader->second(values, loaded);
        if (!values.finished()) {
            error = "line " + std::to_string(number) + " (" + tokens[0] + "): " + message;
            return false;
        }
    }
    if (!ended) {
        error = number == 0 ? "empty state file" : "the state file is cut short (no \"end\")";
        return false;
    }
    memory = std::move(loaded);
    return true;
}

bool saveState(const std::filesystem::path& file, const RegisterMemory& memory,
               std::string& error) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot write " + temporary.string();
            return false;
        }
        const std::string text = stateText(memory);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            error = "cannot write " + temporary.string();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        error = "cannot replace " + file.string() + ": " + ec.message();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool loadState(const std::filesystem::path& file, RegisterMemory& memory, std::string& error) {
    // A full register (every good at its capacity) is a few megabytes; nothing larger is a state.
    constexpr std::uintmax_t kLargestState = 64u * 1024u * 1024u;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size > kLargestState) {
        error = file.string() + ": too large to be a lorvex-sim state file";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read " + file.string();
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!readStateText(text.str(), memory, error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

}  // namespace lorvex::sim
