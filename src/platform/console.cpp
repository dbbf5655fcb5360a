#include "platform/console.h"

#include <string>

#include "platform/codepages.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace lorvex {
namespace {

bool streamIsTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

}  // namespace

StreamConsole::StreamConsole(std::FILE* stream, std::FILE* errorStream)
    : stream_(stream),
      errorStream_(errorStream),
      terminal_(streamIsTerminal(stream)),
      errorTerminal_(streamIsTerminal(errorStream)) {}

void StreamConsole::write(std::FILE* stream, bool& open, std::string_view text) {
    if (!open) return;
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    if (std::fflush(stream) != 0 || !written) open = false;
}

void StreamConsole::showProgressLine(std::string_view text) {
    if (!errorTerminal_) return;
    // Back to the start of the line, and blanks over what is left of a longer line before.
    std::string drawn = "\r";
    drawn.append(text);
    if (text.size() < progressWidth_) {
        drawn.append(progressWidth_ - text.size(), ' ');
        if (text.empty()) drawn += '\r';
    }
    progressWidth_ = text.size();
    write(errorStream_, errorStreamOpen_, drawn);
}

void StreamConsole::eraseProgressLine() {
    if (progressWidth_ > 0) showProgressLine({});
}

void StreamConsole::error(std::string_view line) {
    eraseProgressLine();
    std::string text(line);
    text += '\n';
    write(errorStream_, errorStreamOpen_, text);
}

void StreamConsole::print(std::string_view text, TextEncoding encoding) {
    eraseProgressLine();
#ifdef _WIN32
    // The Windows console shows the bytes in its own code page, as the register's PC always did.
    (void)encoding;
    write(stream_, streamOpen_, text);
#else
    write(stream_, streamOpen_, toUtf8(text, encoding));
#endif
}

void StreamConsole::showSpinner(int column, int row, std::string_view text) {
    if (!terminal_) return;
#ifdef _WIN32
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(out, &info)) return;
    const SHORT x = static_cast<SHORT>(info.srWindow.Left + column - 1);
    const SHORT y = static_cast<SHORT>(info.srWindow.Top + row - 1);
    if (x > info.srWindow.Right || y > info.srWindow.Bottom) return;
    const COORD saved = info.dwCursorPosition;
    SetConsoleCursorPosition(out, COORD{x, y});
    write(stream_, streamOpen_, text);
    SetConsoleCursorPosition(out, saved);
#else
    // Save the cursor, draw at the place, restore: the text around it flows on undisturbed.
    std::string drawn =
        "\x1b"
        "7\x1b[" +
        std::to_string(row) + ";" + std::to_string(column) + "H";
    drawn.append(text);
    drawn +=
        "\x1b"
        "8";
    write(stream_, streamOpen_, drawn);
#endif
}

void CapturingConsole::print(std::string_view text, TextEncoding encoding) {
    text_ += toUtf8(text, encoding);
}

void CapturingConsole::error(std::string_view line) {
    errors_.append(line);
    errors_ += '\n';
}

void CapturingConsole::showProgressLine(std::string_view text) {
    if (!terminal_) return;
    progress_.append(text);
    progress_ += '\n';
}

void CapturingConsole::showSpinner(int, int, std::string_view) {
    if (terminal_) ++spinnerDraws_;
}

}  // namespace lorvex
