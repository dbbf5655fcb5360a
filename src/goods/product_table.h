#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lorvex {

// One field descriptor of a product table (27 bytes in the file).
struct FieldDescriptor {
    std::uint8_t type = 0;  // 3 = character field, anything else binary
    std::string name;       // bytes 1..14 up to the first NUL, padded with spaces
    std::uint16_t offset = 0;
    std::uint16_t length = 0;
    std::array<std::uint8_t, 27> raw{};  // as read, so unused bytes are kept
};

struct Run;

// The fields the program reads or writes, named as a shop's table names them.
// clang-format off
enum class Field {
    ILOSC, ILOSC_ECR, KOD, KODNR, CENA, CENADET, CENAHUR, DZIAL, FBYTE1, NAZWA, NAZWAF,
    OPCJE, FREAL1, FREAL2, NUMER, RABAT, RABATC, STATUS, FORMA, FBYTE2, WSK, TYP,
    TPU, JM, TANDEM, HALO, ZAOKN, ZAOKB, TYPPODS, SWW
};
// clang-format on
inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::SWW) + 1;

// What a dump or a report hands to writeProductRecord, zeroed by its producer before filling.
struct ProductReportRecord {
    static constexpr int kNameKept = 29;
    static constexpr int kCodeKept = 19;
    std::string name;      // at most 29 bytes are kept
    std::string codeText;  // the register's 18 characters; at most 19 bytes are kept
    double unitPrice = 0;
    double quantity = 0;
    double value = 0;  // total value for reports; the tandem code for the PLU goods dump
    std::int32_t department = 0;
    std::int32_t halo = 0;
    std::uint16_t vatLetter = 0;  // character in the low byte
    std::uint16_t extraByte = 0;
    std::uint16_t flagBits = 0;  // option bits 0 to 4
};

// The binary product table named by /F (little-endian, signature 0x3343): a header, field
// descriptors and fixed-size records. The program reads its records or appends new ones; it
// never creates a table and never removes records.
//
// Every field access stays inside the field's width and inside the record buffer handed in,
// whatever the descriptors say, and every number is assembled byte by byte, so a table reads
// the same on every host.
class ProductTable {
  public:
    static constexpr std::size_t kMaxRecordSize = 309;
    static constexpr std::size_t kMaxFields = 60;
    static constexpr std::size_t kHeaderSize = 85;
    static constexpr std::size_t kDescriptorSize = 27;
    static constexpr std::size_t kRecordPrefix = 5;  // bytes before a record's data area

    enum class OpenResult {
        Opened,
        NotATable,  // missing, unreadable, or no table signature: the name may be a text file
        Invalid,    // has the signature but is no table the program can safely work on: the run
                    // must refuse it, and never treat it as a text file (a dump would empty it)
    };

    // Opens the file read-write without creating it and checks the header and descriptors.
    static OpenResult open(const std::filesystem::path& path, std::unique_ptr<ProductTable>& out);
    ~ProductTable();
    ProductTable(const ProductTable&) = delete;
    ProductTable& operator=(const ProductTable&) = delete;

    void close();
    // Back to record 0.
    void rewind();
    // 0, or 3 when the file cannot be positioned there.
    int nextRecord();
    // Reads the current record into `buffer` (resized to recordSize, zeros where the file ends)
    // without moving; returns bytes read minus recordSize (0 when a whole record was read).
    int readRecord(std::vector<std::uint8_t>& buffer);
    // Appends a record of recordSize bytes (a shorter buffer is padded with zeros) and rewrites
    // the header. False on a write error; the header in the file then still counts only the
    // records written before.
    bool appendRecord(const std::vector<std::uint8_t>& buffer);
    // True once any append of this run failed.
    bool writeFailed() const { return writeFailed_; }

    std::uint32_t recordCount() const;
    std::uint32_t appendedCount() const;
    std::uint32_t changedFlag() const;
    std::uint16_t recordSize() const;
    std::uint32_t dataOffset() const;
    const std::vector<FieldDescriptor>& descriptors() const { return descriptors_; }

    // The first descriptor whose name holds `name` followed by a space; -1 when none does.
    int findField(const std::string& name) const;
    // Copies the field's bytes out of the record; a character field comes as text without its
    // terminator (trailing spaces kept). False for an index the table does not have.
    bool getField(std::vector<std::uint8_t>& destination, int index,
                  const std::vector<std::uint8_t>& record) const;
    // A binary number from the field's first (up to 8) bytes; 0 when absent.
    double getDouble(int index, const std::vector<std::uint8_t>& record) const;
    // The field as text up to its first NUL; empty when absent.
    std::string getText(int index, const std::vector<std::uint8_t>& record) const;
    // First (lowest) byte of a field; 0 when absent.
    std::uint8_t getLowByte(int index, const std::vector<std::uint8_t>& record) const;
    double getDouble(Field f, const std::vector<std::uint8_t>& r) const {
        return getDouble(index(f), r);
    }
    std::string getText(Field f, const std::vector<std::uint8_t>& r) const {
        return getText(index(f), r);
    }
    std::uint8_t getLowByte(Field f, const std::vector<std::uint8_t>& r) const {
        return getLowByte(index(f), r);
    }

    // A character field receives the text (or the value's bytes) up to the first NUL, cut to its
    // width and padded with spaces; a binary field the bytes cut to its width and padded with
    // zeros. A field the table lacks stores nothing.
    void putText(const std::string& text, Field f, std::vector<std::uint8_t>& record) const;
    void putDouble(double value, Field f, std::vector<std::uint8_t>& record) const;
    void putInt32(std::int32_t value, Field f, std::vector<std::uint8_t>& record) const;
    void putInt16(std::uint16_t value, Field f, std::vector<std::uint8_t>& record) const;
    void putByte(std::uint8_t value, Field f, std::vector<std::uint8_t>& record) const;

    // Finds the descriptor of every Field by its name.
    void mapFieldNames();
    // The descriptor index of a field; -1 where the table lacks it.
    int index(Field f) const { return fieldIndexes_[static_cast<std::size_t>(f)]; }

    // Builds one table record from `record` and appends it. False on a write error.
    bool writeProductRecord(const ProductReportRecord& record);

  private:
    ProductTable() { fieldIndexes_.fill(-1); }
    void putBytes(const std::uint8_t* bytes, std::size_t count, int index,
                  std::vector<std::uint8_t>& record) const;
    // The part of a field that lies inside the record buffer: start and byte count.
    bool fieldSpan(int index, std::size_t recordBytes, std::size_t& start,
                   std::size_t& count) const;
    std::uint64_t recordPosition(std::uint32_t index) const;

    std::FILE* file_ = nullptr;
    std::array<std::uint8_t, kHeaderSize> header_{};
    std::vector<FieldDescriptor> descriptors_;
    std::array<int, kFieldCount> fieldIndexes_{};
    std::uint32_t index_ = 0;
    bool writeFailed_ = false;
};

// Appends a goods record of a dump or a report to the run's product table, shown first at trace
// level 1 as "%f,%s,%s,%d" (quantity, code, name, department) with the name in the /S encoding.
// False on a write error.
bool appendGoodsRecord(Run& run, const ProductReportRecord& record);

}  // namespace lorvex
