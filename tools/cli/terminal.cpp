#include "cli/terminal.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace zrcli {

using zr::Answer;
using zr::Buttons;

namespace {
Answer Negative(Buttons b) { return b == Buttons::YesNo ? Answer::No : Answer::Cancel; }
}  // namespace

Answer TerminalPrompter::ask(const zr::Question& q) {
    std::fprintf(stderr, "\n%s\n", q.text.c_str());
    if (q.buttons == Buttons::Ok) return Answer::Ok;
    for (const auto& c : confirmations)
        if (q.text == c) return Answer::Ok;
    if (q.buttons == Buttons::YesNo && yesNo == YesNo::Yes) return Answer::Yes;
    if ((q.buttons == Buttons::YesNo && yesNo == YesNo::No) || !::isatty(STDIN_FILENO)) return Negative(q.buttons);
    const char* choices = q.buttons == Buttons::OkCancel      ? "[o]k/[c]ancel"
                          : q.buttons == Buttons::YesNoCancel ? "[y]es/[n]o/[c]ancel"
                          : q.buttons == Buttons::YesNo       ? "[y]es/[N]o"
                                                              : "[r]etry/[c]ancel";
    std::fprintf(stderr, "%s? ", choices);
    std::string line;
    if (!std::getline(std::cin, line) || line.empty()) return Negative(q.buttons);
    switch (line[0]) {
        case 'o': case 'O': return q.buttons == Buttons::OkCancel ? Answer::Ok : Negative(q.buttons);
        case 'y': case 'Y':
            return q.buttons == Buttons::YesNoCancel || q.buttons == Buttons::YesNo ? Answer::Yes : Negative(q.buttons);
        case 'n': case 'N': return q.buttons == Buttons::YesNoCancel ? Answer::No : Negative(q.buttons);
        case 'r': case 'R': return q.buttons == Buttons::RetryCancel ? Answer::Retry : Negative(q.buttons);
        default: return Negative(q.buttons);
    }
}

std::optional<std::string> TerminalPrompter::askPassword() {
    if (password) {
        auto given = std::move(password);
        password.reset();
        return given;
    }
    if (!::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "\nThe radio asks for its programming password: give it with --password.\n");
        return std::nullopt;
    }
    std::fprintf(stderr, "\nPassword: ");
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    return line;
}

void TerminalProgress::progressShown(zr::link::TransferKind, const std::string& caption) {
    tty_ = ::isatty(STDERR_FILENO) != 0;
    caption_ = caption;
    last_ = -1;
    if (!tty_) std::fprintf(stderr, "%s:", caption_.c_str());
    draw(0);
}

void TerminalProgress::progressReset() {
    last_ = -1;
    draw(0);
}

void TerminalProgress::progressClosed() { std::fputc('\n', stderr); }

void TerminalProgress::draw(int p) {
    p = std::clamp(p, 0, 100);
    if (!tty_) {
        if (last_ < 0 || p / 10 > last_ / 10) std::fprintf(stderr, " %d%%", p / 10 * 10);
        last_ = std::max(last_, p);
        std::fflush(stderr);
        return;
    }
    const int width = 40;
    const int filled = p * width / 100;
    std::fprintf(stderr, "\r%s [%s%s] %d%%", caption_.c_str(), std::string(filled, '#').c_str(),
                 std::string(width - filled, ' ').c_str(), p);
    std::fflush(stderr);
}

}  // namespace zrcli
