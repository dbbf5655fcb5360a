#include "core/load_fields.h"

#include "text/numbers.h"

namespace lorvex {

bool lineHasPrefix(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

std::string_view FieldCursor::next() {
    const std::size_t comma = line_.find(',', pos_);
    const std::size_t end = comma == std::string_view::npos ? line_.size() : comma;
    const std::string_view field = line_.substr(pos_, end - pos_);
    pos_ = comma == std::string_view::npos ? line_.size() : comma + 1;
    return field;
}

int FieldCursor::nextInt() {
    return readInt(next());
}

double FieldCursor::nextDouble() {
    return readDouble(next());
}

}  // namespace lorvex
