#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lorvex {

// The fields of the register's answers and records (fixed positions counted from 0) and of the
// exchange-file lines (comma-separated).

// --- Answers -------------------------------------------------------------------------------
// Every reader here goes through answerField, so a field the received text does not reach reads
// as empty (0 as a number) and nothing beyond the received bytes is ever touched.

// The `width` bytes of an answer text at `pos`, cut where the received text ends.
std::string_view answerField(std::string_view answer, std::size_t pos, std::size_t width);
// One character of an answer, or `missing` where the answer does not reach.
char answerChar(std::string_view answer, std::size_t pos, char missing = ' ');
// The field copied out and cut at a NUL, the way the register's texts end.
std::string textField(std::string_view answer, std::size_t pos, std::size_t width);
// Decimal text read like atof; the register sends money as whole hundredths.
double numberField(std::string_view answer, std::size_t pos, std::size_t width);
double moneyField(std::string_view answer, std::size_t pos, std::size_t width);
// +1.0 for a '+' at the position, -1.0 for anything else (a blank or a missing character too).
double signFactor(std::string_view answer, std::size_t pos);

// --- Records -------------------------------------------------------------------------------
// The register reads its records by position, so no field may ever be wider than its place.

// A text as the record carries it: a zero byte cannot travel in a frame, so the text ends there.
std::string wireText(std::string_view text);
// The first character of a field as a record's letter; a space when the field is empty.
char letterOf(std::string_view field);
// "%-*s": the text, blank-filled on the right to at least `width`.
std::string padRight(std::string_view text, std::size_t width);
// A record's text field: the text up to a NUL (where the register's texts end), cut or filled
// with `fill` on the right to exactly `width`; a text cut at a NUL is filled like a shorter one.
std::string fitRight(std::string_view text, std::size_t width, char fill = ' ');
// "%*s": the text, blank-filled on the left to at least `width`.
std::string padLeft(std::string_view text, std::size_t width);
// A number in a printf format, or nothing when it is not finite or needs more than `width`.
std::optional<std::string> fitted(const char* fmt, double value, std::size_t width);
bool isTwoDigit(int value);
// A whole number of hundredths in exactly `width` characters ("%*.0f" or "%0*.0f" of value x 100);
// nothing when the value is not finite or needs more characters.
std::optional<std::string> hundredthsField(double value, int width, bool zeroFilled);
// A non-negative integer in exactly `digits` zero-filled digits ("%0*d"); nothing when it does
// not fit.
std::optional<std::string> digitsField(int value, int digits);
// A goods code, read the way atof reads a number but exact for whole numbers of up to 18 digits
// (a double would change the last digits of a long code). Decimal forms are rounded to a whole
// number. Text without a number reads as 0. Nothing when the value is not finite or needs more
// than 18 digits.
std::optional<long long> readGoodsCode(std::string_view text);
// A goods code right-aligned in 18 characters ("%18.0f"); nothing when it needs more.
std::optional<std::string> goodsCodeField(long long code);

// --- Exchange-file lines -------------------------------------------------------------------

// A load line belongs to a job only when it starts with the job's prefix: a prefix found inside
// a name ("KAS" in KASZA) must not build a record from the wrong fields.
bool lineHasPrefix(std::string_view line, std::string_view prefix);

// True for the text of a number field: blanks around an optional sign, digits and at most one
// decimal point; or blanks only (an empty field, 0).
bool isNumberText(std::string_view field);

// Reads the comma-separated fields of a load line (line end already removed) from a position.
// A field runs to the next comma or the end of the line; a missing field is empty (0 as a number).
// A field read as a number that holds other text is remembered: the line is bad data.
class FieldCursor {
  public:
    FieldCursor(std::string_view line, std::size_t start)
        : line_(line), pos_(start < line.size() ? start : line.size()) {}

    std::string_view next();
    int nextInt();
    double nextDouble();
    // A goods code (readGoodsCode); nothing when it does not fit.
    std::optional<long long> nextGoodsCode();
    // Everything from the cursor to the end of the line.
    std::string_view rest() const { return line_.substr(pos_); }
    // False once a field read as a number held other text.
    bool numbersRead() const { return numbersRead_; }
    // The values read from the line, or nothing when a number field held other text.
    template <typename T>
    std::optional<T> ifNumbersRead(T values) const {
        if (!numbersRead_) return std::nullopt;
        return values;
    }

  private:
    std::string_view nextNumber();

    std::string_view line_;
    std::size_t pos_;
    bool numbersRead_ = true;
};

}  // namespace lorvex
