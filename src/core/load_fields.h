#pragma once

#include <string>
#include <string_view>

namespace lorvex {

// A load line belongs to a job only when it starts with the job's prefix: a prefix found inside
// a name ("KAS" in KASZA) must not build a record from the wrong fields.
bool lineHasPrefix(std::string_view line, std::string_view prefix);

// Reads the comma-separated fields of a load line (line end already removed) from a position.
// A field runs to the next comma or the end of the line; a missing field is empty (0 as a number).
class FieldCursor {
  public:
    FieldCursor(std::string_view line, std::size_t start)
        : line_(line), pos_(start < line.size() ? start : line.size()) {}

    std::string_view next();
    int nextInt();
    double nextDouble();
    // Everything from the cursor to the end of the line.
    std::string_view rest() const { return line_.substr(pos_); }

  private:
    std::string_view line_;
    std::size_t pos_;
};

}  // namespace lorvex
