#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lorvex::test {

// Builds a register answer text: starts with `head`, then each field is laid at its position,
// right-aligned in its width; gaps are blanks.
class AnswerBuilder {
  public:
    explicit AnswerBuilder(std::string_view head) : text_(head) {}

    AnswerBuilder& at(std::size_t pos, std::size_t width, std::string_view value) {
        if (text_.size() < pos + width) text_.resize(pos + width, ' ');
        const std::size_t shown = value.size() < width ? value.size() : width;
        text_.replace(pos, width,
                      std::string(width - shown, ' ') + std::string(value.substr(0, shown)));
        return *this;
    }
    // A text field, left-aligned and padded with blanks.
    AnswerBuilder& text(std::size_t pos, std::size_t width, std::string_view value) {
        if (text_.size() < pos + width) text_.resize(pos + width, ' ');
        std::string padded(value.substr(0, width));
        padded.resize(width, ' ');
        text_.replace(pos, width, padded);
        return *this;
    }
    AnswerBuilder& put(std::size_t pos, char c) {
        if (text_.size() <= pos) text_.resize(pos + 1, ' ');
        text_[pos] = c;
        return *this;
    }
    const std::string& str() const { return text_; }

  private:
    std::string text_;
};

}  // namespace lorvex::test
