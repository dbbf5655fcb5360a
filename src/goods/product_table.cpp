#include "goods/product_table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <system_error>

#include "platform/files.h"
#include "text/numbers.h"

namespace lorvex {
namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kSignature = 0x3343;
constexpr std::uint8_t kCharacterField = 3;

// Header positions.
constexpr std::size_t kRecordCountAt = 5;
constexpr std::size_t kFieldCountAt = 13;
constexpr std::size_t kRecordSizeAt = 19;
constexpr std::size_t kDataOffsetAt = 21;
constexpr std::size_t kAppendedCountAt = 25;
constexpr std::size_t kChangedFlagAt = 29;

// Descriptor positions.
constexpr std::size_t kNameAt = 1;
constexpr std::size_t kNameLength = 14;
constexpr std::size_t kFieldOffsetAt = 17;
constexpr std::size_t kFieldLengthAt = 19;

// The name of each Field in the descriptors, in the order of the enumeration.
constexpr std::array<const char*, kFieldCount> kFieldNames = {
    "ILOSC",  "ILOSC_ECR", "KOD",    "KODNR",  "CENA",    "CENADET", "CENAHUR", "DZIAL",
    "FBYTE1", "NAZWA",     "NAZWAF", "OPCJE",  "FREAL1",  "FREAL2",  "NUMER",   "RABAT",
    "RABATC", "STATUS",    "FORMA",  "FBYTE2", "WSK",     "TYP",     "TPU",     "JM",
    "TANDEM", "HALO",      "ZAOKN",  "ZAOKB",  "TYPPODS", "SWW"};

std::uint64_t readLittleEndian(const std::uint8_t* bytes, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

void writeLittleEndian(std::uint8_t* bytes, std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

template <std::size_t N>
std::array<std::uint8_t, N> littleEndianBytes(std::uint64_t value) {
    std::array<std::uint8_t, N> bytes{};
    writeLittleEndian(bytes.data(), value, N);
    return bytes;
}

// Bytes before the first NUL within `limit`.
std::size_t textLength(const void* bytes, std::size_t limit) {
    const void* nul = std::memchr(bytes, 0, limit);
    return nul == nullptr ? limit
                          : static_cast<std::size_t>(static_cast<const char*>(nul) -
                                                     static_cast<const char*>(bytes));
}

// At most `limit` bytes of a text, ending at its first NUL.
std::string boundedText(const std::string& text, std::size_t limit) {
    return text.substr(0, textLength(text.data(), std::min(text.size(), limit)));
}

bool hasSignature(const std::uint8_t* bytes) {
    return readLittleEndian(bytes, 2) == kSignature;
}

// Whether a file the program may not write starts like a table.
bool startsLikeTable(const fs::path& path) {
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) return false;
    std::uint8_t start[2] = {};
    const bool table = std::fread(start, 1, 2, file) == 2 && hasSignature(start);
    std::fclose(file);
    return table;
}

FieldDescriptor parseDescriptor(
    const std::array<std::uint8_t, ProductTable::kDescriptorSize>& raw) {
    FieldDescriptor descriptor;
    descriptor.raw = raw;
    descriptor.type = raw[0];
    // The name ends at the descriptor's byte 15, or at a NUL before it.
    const char* name = reinterpret_cast<const char*>(raw.data() + kNameAt);
    descriptor.name.assign(name, textLength(name, kNameLength));
    descriptor.offset =
        static_cast<std::uint16_t>(readLittleEndian(raw.data() + kFieldOffsetAt, 2));
    descriptor.length =
        static_cast<std::uint16_t>(readLittleEndian(raw.data() + kFieldLengthAt, 2));
    return descriptor;
}

}  // namespace

ProductTable::OpenResult ProductTable::open(const fs::path& path,
                                            std::unique_ptr<ProductTable>& out) {
    out.reset();
    // Only a regular file can be a table; a pipe or a device is left to the text path to refuse.
    std::error_code error;
    if (fs::status(path, error).type() != fs::file_type::regular || error) {
        return OpenResult::NotATable;
    }
    std::FILE* file = openFile(path, "r+b");
    if (file == nullptr) {
        // A table the program may not write is still a table: refused, never read or replaced
        // as a text file.
        return startsLikeTable(path) ? OpenResult::Invalid : OpenResult::NotATable;
    }
    std::unique_ptr<ProductTable> table(new ProductTable);
    table->file_ = file;

    std::array<std::uint8_t, kHeaderSize>& header = table->header_;
    const std::size_t headerRead = std::fread(header.data(), 1, header.size(), file);
    if (headerRead < 2 || !hasSignature(header.data())) return OpenResult::NotATable;
    if (headerRead < header.size()) return OpenResult::Invalid;

    const std::uint64_t fieldCount = readLittleEndian(header.data() + kFieldCountAt, 2);
    const std::uint64_t recordBytes = readLittleEndian(header.data() + kRecordSizeAt, 2);
    const std::uint64_t dataStart = readLittleEndian(header.data() + kDataOffsetAt, 4);
    const std::uint64_t descriptorsEnd = kHeaderSize + fieldCount * kDescriptorSize;
    std::uint64_t fileSize = 0;
    if (fieldCount > kMaxFields || recordBytes == 0 || recordBytes > kMaxRecordSize ||
        !lorvex::fileSize(file, fileSize) || descriptorsEnd > fileSize || dataStart > fileSize ||
        dataStart < descriptorsEnd) {
        // Records placed over the header or the descriptors would be overwritten by an append.
        return OpenResult::Invalid;
    }

    if (!seekFile(file, kHeaderSize)) return OpenResult::Invalid;
    for (std::uint64_t i = 0; i < fieldCount; ++i) {
        std::array<std::uint8_t, kDescriptorSize> raw{};
        if (std::fread(raw.data(), 1, raw.size(), file) != raw.size()) return OpenResult::Invalid;
        FieldDescriptor descriptor = parseDescriptor(raw);
        if (kRecordPrefix + descriptor.offset + descriptor.length > recordBytes) {
            return OpenResult::Invalid;
        }
        table->descriptors_.push_back(std::move(descriptor));
    }
    out = std::move(table);
    return OpenResult::Opened;
}

ProductTable::~ProductTable() {
    close();
}

void ProductTable::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

std::uint32_t ProductTable::recordCount() const {
    return static_cast<std::uint32_t>(readLittleEndian(header_.data() + kRecordCountAt, 4));
}

std::uint32_t ProductTable::appendedCount() const {
    return static_cast<std::uint32_t>(readLittleEndian(header_.data() + kAppendedCountAt, 4));
}

std::uint32_t ProductTable::changedFlag() const {
    return static_cast<std::uint32_t>(readLittleEndian(header_.data() + kChangedFlagAt, 4));
}

std::uint16_t ProductTable::recordSize() const {
    return static_cast<std::uint16_t>(readLittleEndian(header_.data() + kRecordSizeAt, 2));
}

std::uint32_t ProductTable::dataOffset() const {
    return static_cast<std::uint32_t>(readLittleEndian(header_.data() + kDataOffsetAt, 4));
}

std::uint64_t ProductTable::recordPosition(std::uint32_t index) const {
    return dataOffset() + static_cast<std::uint64_t>(index) * recordSize();
}

void ProductTable::rewind() {
    index_ = 0;
}

int ProductTable::nextRecord() {
    constexpr int kCannotPosition = 3;
    if (file_ == nullptr || index_ == std::numeric_limits<std::uint32_t>::max()) {
        return kCannotPosition;
    }
    if (!seekFile(file_, recordPosition(index_ + 1))) return kCannotPosition;
    ++index_;
    return 0;
}

int ProductTable::readRecord(std::vector<std::uint8_t>& buffer) {
    const std::size_t size = recordSize();
    buffer.assign(size, 0);
    std::size_t got = 0;
    if (file_ != nullptr && seekFile(file_, recordPosition(index_))) {
        got = std::fread(buffer.data(), 1, size, file_);
    }
    return static_cast<int>(got) - static_cast<int>(size);
}

bool ProductTable::appendRecord(const std::vector<std::uint8_t>& buffer) {
    const std::uint32_t count = recordCount();
    if (file_ == nullptr || count == std::numeric_limits<std::uint32_t>::max()) {
        writeFailed_ = true;
        return false;
    }
    std::vector<std::uint8_t> record(recordSize(), 0);
    std::copy_n(buffer.begin(), std::min(buffer.size(), record.size()), record.begin());

    // The new header is kept only once the file holds it, so the copy never counts a record
    // that is not there.
    std::array<std::uint8_t, kHeaderSize> header = header_;
    writeLittleEndian(header.data() + kRecordCountAt, count + 1u, 4);
    writeLittleEndian(header.data() + kAppendedCountAt, appendedCount() + 1u, 4);
    writeLittleEndian(header.data() + kChangedFlagAt, 1, 4);

    const bool written = seekFile(file_, recordPosition(count)) &&
                         std::fwrite(record.data(), 1, record.size(), file_) == record.size() &&
                         std::fflush(file_) == 0 && seekFile(file_, 0) &&
                         std::fwrite(header.data(), 1, header.size(), file_) == header.size() &&
                         std::fflush(file_) == 0;
    if (!written) {
        std::clearerr(file_);
        writeFailed_ = true;
        return false;
    }
    header_ = header;
    return true;
}

int ProductTable::findField(const std::string& name) const {
    if (name.empty()) return -1;
    for (std::size_t i = 0; i < descriptors_.size(); ++i) {
        const std::string& candidate = descriptors_[i].name;
        const std::size_t at = candidate.find(name);
        const std::size_t after = at + name.size();
        if (at != std::string::npos && after < candidate.size() && candidate[after] == ' ') {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ProductTable::fieldSpan(int index, std::size_t recordBytes, std::size_t& start,
                             std::size_t& count) const {
    if (index < 0 || static_cast<std::size_t>(index) >= descriptors_.size()) return false;
    const FieldDescriptor& descriptor = descriptors_[static_cast<std::size_t>(index)];
    start = std::min<std::size_t>(kRecordPrefix + descriptor.offset, recordBytes);
    count = std::min<std::size_t>(descriptor.length, recordBytes - start);
    return true;
}

bool ProductTable::getField(std::vector<std::uint8_t>& destination, int index,
                            const std::vector<std::uint8_t>& record) const {
    std::size_t start = 0;
    std::size_t count = 0;
    if (!fieldSpan(index, record.size(), start, count)) return false;
    // Bytes of a field that the buffer does not reach read as zero.
    destination.assign(descriptors_[static_cast<std::size_t>(index)].length, 0);
    std::copy_n(record.begin() + static_cast<std::ptrdiff_t>(start), count, destination.begin());
    return true;
}

double ProductTable::getDouble(int index, const std::vector<std::uint8_t>& record) const {
    std::size_t start = 0;
    std::size_t count = 0;
    if (!fieldSpan(index, record.size(), start, count)) return 0.0;
    return std::bit_cast<double>(
        readLittleEndian(record.data() + start, std::min<std::size_t>(count, 8)));
}

std::string ProductTable::getText(int index, const std::vector<std::uint8_t>& record) const {
    std::size_t start = 0;
    std::size_t count = 0;
    if (!fieldSpan(index, record.size(), start, count)) return {};
    const char* text = reinterpret_cast<const char*>(record.data() + start);
    return std::string(text, textLength(text, count));
}

std::uint8_t ProductTable::getLowByte(int index, const std::vector<std::uint8_t>& record) const {
    std::size_t start = 0;
    std::size_t count = 0;
    if (!fieldSpan(index, record.size(), start, count) || count == 0) return 0;
    return record[start];
}

void ProductTable::putBytes(const std::uint8_t* bytes, std::size_t byteCount, int index,
                            std::vector<std::uint8_t>& record) const {
    std::size_t start = 0;
    std::size_t width = 0;
    if (!fieldSpan(index, record.size(), start, width)) return;
    std::uint8_t* field = record.data() + start;
    if (descriptors_[static_cast<std::size_t>(index)].type == kCharacterField) {
        std::size_t used = 0;
        while (used < width && used < byteCount && bytes[used] != 0) {
            field[used] = bytes[used];
            ++used;
        }
        std::fill(field + used, field + width, static_cast<std::uint8_t>(' '));
    } else {
        const std::size_t used = std::min(width, byteCount);
        std::copy_n(bytes, used, field);
        std::fill(field + used, field + width, static_cast<std::uint8_t>(0));
    }
}

void ProductTable::putText(const std::string& text, Field f,
                           std::vector<std::uint8_t>& record) const {
    putBytes(reinterpret_cast<const std::uint8_t*>(text.data()),
             textLength(text.data(), text.size()), index(f), record);
}

void ProductTable::putDouble(double value, Field f, std::vector<std::uint8_t>& record) const {
    const auto bytes = littleEndianBytes<8>(std::bit_cast<std::uint64_t>(value));
    putBytes(bytes.data(), bytes.size(), index(f), record);
}

void ProductTable::putInt32(std::int32_t value, Field f, std::vector<std::uint8_t>& record) const {
    const auto bytes = littleEndianBytes<4>(static_cast<std::uint32_t>(value));
    putBytes(bytes.data(), bytes.size(), index(f), record);
}

void ProductTable::putInt16(std::uint16_t value, Field f, std::vector<std::uint8_t>& record) const {
    const auto bytes = littleEndianBytes<2>(value);
    putBytes(bytes.data(), bytes.size(), index(f), record);
}

void ProductTable::putByte(std::uint8_t value, Field f, std::vector<std::uint8_t>& record) const {
    putBytes(&value, 1, index(f), record);
}

void ProductTable::mapFieldNames() {
    for (std::size_t i = 0; i < kFieldCount; ++i) fieldIndexes_[i] = findField(kFieldNames[i]);
}

bool ProductTable::writeProductRecord(const ProductReportRecord& record) {
    using enum Field;
    std::vector<std::uint8_t> out(recordSize(), 0);
    const std::string name = boundedText(record.name, ProductReportRecord::kNameKept);
    const std::string code = boundedText(record.codeText, ProductReportRecord::kCodeKept);
    const double quantity = record.quantity;
    const auto department = record.department;
    const auto departmentLowByte = static_cast<std::uint8_t>(department & 0xFF);

    putDouble(quantity, ILOSC, out);
    putDouble(quantity, ILOSC_ECR, out);
    putText(code, KOD, out);
    putDouble(readDouble(code), KODNR, out);
    putDouble(quantity != 0.0 ? record.value / quantity : record.unitPrice, CENA, out);
    putDouble(record.unitPrice, CENADET, out);
    putDouble(record.unitPrice, CENAHUR, out);
    putInt32(department, DZIAL, out);
    putByte(departmentLowByte, FBYTE1, out);
    putText(name, NAZWA, out);
    putText(name, NAZWAF, out);
    putInt16(record.flagBits, OPCJE, out);
    putDouble(0.0, FREAL1, out);
    putDouble(0.0, FREAL2, out);
    putInt32(1, NUMER, out);
    putDouble(0.0, RABAT, out);
    putDouble(0.0, RABATC, out);
    putText("IMP", STATUS, out);
    putByte(1, FORMA, out);
    putByte(static_cast<std::uint8_t>(record.extraByte & 0xFF), FBYTE2, out);
    putByte(0, WSK, out);
    putByte('3', TYP, out);
    putByte(1, TPU, out);
    putText("SZT", JM, out);
    putDouble(0.01, ZAOKN, out);
    putDouble(0.01, ZAOKB, out);
    putText(std::string(1, static_cast<char>(record.vatLetter & 0xFF)), TYPPODS, out);
    putText("  ", SWW, out);
    putDouble(record.value, TANDEM, out);
    putInt32(record.halo, HALO, out);
    putByte(departmentLowByte, FBYTE1, out);
    return appendRecord(out);
}

}  // namespace lorvex
