#include "sim/state_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
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

// Prints one item's values; a line starts with the item's key at its first value.
class Writer {
  public:
    explicit Writer(std::string& out) : out_(out) {}

    void start(const char* key) { key_ = key; }
    void endLine() {
        if (open_) out_ += '\n';
        open_ = false;
    }

    template <typename T>
    void number(const T& value, std::int64_t, std::int64_t) {
        field(std::to_string(value));
    }
    void code(const std::uint64_t& value) { field(std::to_string(value)); }
    void text(const std::string& value, std::size_t) { field(escaped(value)); }
    void letter(const char& value) { field(escaped(std::string(1, value))); }
    template <typename T, std::size_t N>
    void numbers(const std::array<T, N>& values, std::int64_t low, std::int64_t high) {
        for (const T& value : values) number(value, low, high);
    }
    // A fixed table: one line an item, its number counted from `first`.
    template <typename T, std::size_t N, typename Fields>
    void each(const std::array<T, N>& items, int first, Fields fields) {
        for (std::size_t i = 0; i < N; ++i) {
            number(static_cast<int>(i) + first, 0, 0);
            fields(items[i]);
            endLine();
        }
    }
    // A keyed table: one line an entry, in key order.
    template <typename K, typename V, typename Key, typename Fields>
    void entries(const std::map<K, V>& table, Key key, Fields fields) {
        for (const auto& [k, v] : table) {
            key(k);
            fields(v);
            endLine();
        }
    }

  private:
    void field(const std::string& text) {
        if (!open_) out_ += key_;
        open_ = true;
        out_ += ' ';
        out_ += text;
    }

    std::string& out_;
    const char* key_ = "";
    bool open_ = false;
};

// Reads one line's values in order, with their checks. After the first failure every value
// reads as its lowest, so an index stays in its table; the caller drops the whole state.
class Reader {
  public:
    Reader(std::vector<std::string> tokens, std::string& error)
        : tokens_(std::move(tokens)), error_(error) {}

    bool finished() {
        if (ok_ && next_ != tokens_.size()) fail("more values than expected");
        return ok_;
    }

    template <typename T>
    void number(T& value, std::int64_t low, std::int64_t high) {
        value = static_cast<T>(readNumber(low, high));
    }
    void code(std::uint64_t& value) {
        value = 0;
        const std::string* token = take();
        if (token == nullptr) return;
        const auto [end, ec] = std::from_chars(token->data(), token->data() + token->size(), value);
        if (ec != std::errc() || end != token->data() + token->size()) {
            fail("bad code \"" + *token + "\"");
        }
    }
    void text(std::string& value, std::size_t width) { value = readText(width); }
    void letter(char& value) { value = readText(1)[0]; }
    template <typename T, std::size_t N>
    void numbers(std::array<T, N>& values, std::int64_t low, std::int64_t high) {
        for (T& value : values) number(value, low, high);
    }
    template <typename T, std::size_t N, typename Fields>
    void each(std::array<T, N>& items, int first, Fields fields) {
        int index = first;
        number(index, first, first + static_cast<int>(N) - 1);
        fields(items[static_cast<std::size_t>(index - first)]);
    }
    // The entry is stored only when its whole line reads.
    template <typename K, typename V, typename Key, typename Fields>
    void entries(std::map<K, V>& table, Key key, Fields fields) {
        K k{};
        V v{};
        key(k);
        fields(v);
        if (ok_) table[k] = v;
    }

  private:
    std::int64_t readNumber(std::int64_t low, std::int64_t high) {
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
    std::string readText(std::size_t width) {
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

template <typename Io, typename Totals>
void cashTotals(Io& io, Totals& totals) {
    io.number(totals.total, -kBig, kBig);
    io.numbers(totals.amounts, -kBig, kBig);
    io.numbers(totals.counts, -kBig, kBig);
    io.numbers(totals.extra, -kBig, kBig);
}

struct Item {
    const char* key;
    void (*read)(Reader&, RegisterMemory&);
    void (*write)(Writer&, const RegisterMemory&);
};

// Both directions of an item come from the one list of its values, so a value cannot be added
// to one side only, nor stand in another place on the other.
template <typename Values>
constexpr Item item(const char* key, Values) {
    return {key, [](Reader& in, RegisterMemory& m) { Values{}(in, m); },
            [](Writer& out, const RegisterMemory& m) { Values{}(out, m); }};
}

// The items in the order of the file.
constexpr std::array kItems = {
    item("header", [](auto& io, auto& m) { io.text(m.header, kHeaderWidth); }),
    item("footer", [](auto& io, auto& m) { io.text(m.footer, kFooterWidth); }),
    item("cashier",
         [](auto& io, auto& m) {
             io.each(m.cashiers, 0, [&](auto& cashier) {
                 io.text(cashier.name, kNameWidth);
                 io.text(cashier.code, 4);
             });
         }),
    item("flags", [](auto& io, auto& m) { io.numbers(m.flags, 0, 255); }),
    item("solvek-flags", [](auto& io, auto& m) { io.numbers(m.solvekFlags, 0, 255); }),
    item("halo", [](auto& io, auto& m) { io.numbers(m.halo, 0, kLargestAmount); }),
    item("discount-rates", [](auto& io, auto& m) { io.numbers(m.discountRates, 0, kLargestRate); }),
    item("discount-amounts",
         [](auto& io, auto& m) { io.numbers(m.discountAmounts, 0, kLargestAmount); }),
    item("direct",
         [](auto& io, auto& m) { io.each(m.directCodes, 1, [&](auto& code) { io.code(code); }); }),
    item("vat", [](auto& io, auto& m) { io.numbers(m.vatRates, 0, 9999); }),
    item("uni", [](auto& io, auto& m) { io.text(m.uni, 10); }),
    item("nip", [](auto& io, auto& m) { io.text(m.nip, 13); }),
    item("card",
         [](auto& io, auto& m) {
             io.entries(
                 m.cards, [&](auto& number) { io.number(number, 1, kMaxCardNumber); },
                 [&](auto& card) {
                     io.numbers(card.values, 0, 999);
                     io.number(card.field11, 0, 99);
                     io.number(card.field12, 0, 9);
                     io.text(card.field13, 6);
                     io.number(card.field14, 0, 99);
                     io.number(card.field15, 0, 9);
                     io.number(card.field16, 0, 99);
                 });
         }),
    item("linked",
         [](auto& io, auto& m) {
             io.entries(
                 m.linkedCodes, [&](auto& first) { io.code(first); },
                 [&](auto& second) { io.code(second); });
         }),
    item("department",
         [](auto& io, auto& m) {
             io.each(m.departments, 1, [&](auto& department) {
                 io.text(department.name, kNameWidth);
                 io.number(department.amount, 0, kLargestAmount);
                 io.letter(department.vat);
                 io.text(department.flags, 4);
                 io.number(department.trailing, 0, 99);
                 io.number(department.sales, -kBig, kBig);
             });
         }),
    item("plu",
         [](auto& io, auto& m) {
             io.entries(
                 m.plus, [&](auto& code) { io.code(code); },
                 [&](auto& plu) {
                     io.text(plu.name, kNameWidth);
                     io.number(plu.price, 0, kLargestAmount);
                     io.letter(plu.vat);
                     io.number(plu.type, 0, 9);
                     io.text(plu.flags, 5);
                     io.number(plu.department, 0, 99);
                     io.number(plu.halo, 0, 99);
                     io.code(plu.tandem);
                     io.number(plu.sales.value, -kBig, kBig);
                     io.number(plu.sales.quantity, -kBig, kBig);
                     io.number(plu.packaging.issuedValue, -kBig, kBig);
                     io.number(plu.packaging.issuedCount, -kBig, kBig);
                     io.number(plu.packaging.returnedValue, -kBig, kBig);
                     io.number(plu.packaging.returnedCount, -kBig, kBig);
                 });
         }),
    item("register-totals", [](auto& io, auto& m) { io.numbers(m.registerTotals, -kBig, kBig); }),
    item("hour",
         [](auto& io, auto& m) {
             io.each(m.hours, 0, [&](auto& hour) {
                 io.number(hour.amount, -kBig, kBig);
                 io.number(hour.receipts, -kBig, kBig);
                 io.number(hour.items, -kBig, kBig);
                 io.number(hour.corrections, -kBig, kBig);
             });
         }),
    item("cashier-totals",
         [](auto& io, auto& m) {
             io.each(m.cashierTotals, 0, [&](auto& totals) { cashTotals(io, totals); });
         }),
    item("cash", [](auto& io, auto& m) { cashTotals(io, m.cash); }),
    item("daily",
         [](auto& io, auto& m) {
             io.text(m.daily.date, 6);
             io.number(m.daily.number, 0, 999999999);
             io.numbers(m.daily.amounts, -kBig, kBig);
             io.number(m.daily.receipts, -kBig, kBig);
             io.number(m.daily.cancelled, -kBig, kBig);
             io.numbers(m.daily.counts, -kBig, kBig);
         }),
    item("card-totals",
         [](auto& io, auto& m) {
             io.number(m.cardTotals.sales, -kBig, kBig);
             io.number(m.cardTotals.averageDiscountTenths, 0, 999);
         }),
    item("state-digit", [](auto& io, auto& m) { io.number(m.stateDigit, 0, 9); }),
    item("plu-capacity", [](auto& io, auto& m) { io.number(m.pluCapacity, 0, 1000000); }),
    item("linked-capacity", [](auto& io, auto& m) { io.number(m.linkedCodeCapacity, 0, 1000000); }),
};

}  // namespace

std::string stateText(const RegisterMemory& memory) {
    std::string out = std::string(kMagic) + '\n';
    Writer writer(out);
    for (const Item& item : kItems) {
        writer.start(item.key);
        item.write(writer, memory);
        writer.endLine();
    }
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
        const auto item = std::find_if(kItems.begin(), kItems.end(),
                                       [&](const Item& each) { return tokens[0] == each.key; });
        if (item == kItems.end()) {
            error = "line " + std::to_string(number) + ": unknown item \"" + tokens[0] + "\"";
            return false;
        }
        std::string message;
        Reader values(std::vector<std::string>(tokens.begin() + 1, tokens.end()), message);
        item->read(values, loaded);
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
