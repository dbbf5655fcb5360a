#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lorvex {

// How the bytes of a text handed to the console are to be read.
enum class TextEncoding {
    Ascii,    // plain bytes; bytes above 0x7F are shown as they stand on Windows, '?' elsewhere
    Mazovia,  // the program's screens and messages in the Mazovia code page
    Cp852,    // the register's own code page
    Utf8,     // already UTF-8
};

// Everything the program shows goes through a Console: screens, traces, the spinner and the
// "er=" echoes. On POSIX every text is shown as UTF-8; on Windows the bytes stand as they are.
class Console {
  public:
    virtual ~Console() = default;
    virtual void print(std::string_view text, TextEncoding encoding = TextEncoding::Ascii) = 0;
    // A line for whoever runs the program, apart from what the job shows (stderr): why a run could
    // not go on or what it left undone. UTF-8 text; the line end is added.
    virtual void error(std::string_view line) = 0;
    // The progress indicator at a column and row (1-based). Drawn only on a terminal.
    virtual void showSpinner(int column, int row, std::string_view text) = 0;
    virtual bool isTerminal() const = 0;
    // Whether error() lines reach a terminal, where a progress line may be drawn.
    virtual bool errorIsTerminal() const = 0;
    // One line of progress on stderr, drawn over the one before; an empty text erases it. Only on
    // a terminal; anything printed meanwhile erases it first, so it never mixes with the output.
    virtual void showProgressLine(std::string_view text) = 0;
};

// The console on a real output stream (stdout in the program). A stream whose write fails (a pipe
// nobody reads any more) is written no more; the job goes on without it.
class StreamConsole final : public Console {
  public:
    StreamConsole(std::FILE* stream, std::FILE* errorStream);
    void print(std::string_view text, TextEncoding encoding) override;
    void error(std::string_view line) override;
    void showSpinner(int column, int row, std::string_view text) override;
    bool isTerminal() const override { return terminal_; }
    bool errorIsTerminal() const override { return errorTerminal_; }
    void showProgressLine(std::string_view text) override;

  private:
    // Writes and flushes; a failure closes the stream for this console.
    void write(std::FILE* stream, bool& open, std::string_view text);
    void eraseProgressLine();

    std::FILE* stream_;
    std::FILE* errorStream_;
    bool terminal_;
    bool errorTerminal_;
    std::size_t progressWidth_ = 0;  // of the progress line on the screen; 0 when none is
    bool streamOpen_ = true;
    bool errorStreamOpen_ = true;
};

// Keeps what would have been shown, as the user would see it on POSIX (UTF-8). For tests.
class CapturingConsole final : public Console {
  public:
    explicit CapturingConsole(bool terminal = false) : terminal_(terminal) {}
    void print(std::string_view text, TextEncoding encoding) override;
    void error(std::string_view line) override;
    void showSpinner(int column, int row, std::string_view text) override;
    bool isTerminal() const override { return terminal_; }
    bool errorIsTerminal() const override { return terminal_; }
    void showProgressLine(std::string_view text) override;
    const std::string& text() const { return text_; }
    // Every progress line drawn, each ending in a line feed (an erase is an empty line).
    const std::string& progressLines() const { return progress_; }
    // The lines given to error(), each ending in a line feed.
    const std::string& errors() const { return errors_; }
    int spinnerDraws() const { return spinnerDraws_; }
    void clear() { text_.clear(); }

  private:
    bool terminal_;
    std::string text_;
    std::string errors_;
    std::string progress_;
    int spinnerDraws_ = 0;
};

}  // namespace lorvex
