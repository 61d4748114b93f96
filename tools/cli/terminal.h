#pragma once
// The command line's dialogs: messages on the standard error, questions
// asked on the terminal when there is one, a progress bar for transfers.

#include <optional>
#include <string>
#include <vector>

#include "link/transfer.h"
#include "shell/prompter.h"

namespace zrcli {

// OK-only messages are printed. The confirmations the user asked for by
// running the command are answered OK; other questions are asked on the
// terminal when stdin is one, otherwise they get the answer that stops
// (Cancel, No). Yes/No questions are answered as `yesNo` says: No unless a
// command asks for them (the command line never starts another program).
class TerminalPrompter : public zr::Prompter {
public:
    enum class YesNo {
        No,    // answered No
        Ask,   // asked on the terminal, "[y]es/[N]o?", No without a terminal
        Yes,   // answered Yes (--yes)
    };
    std::vector<std::string> confirmations;
    YesNo yesNo = YesNo::No;
    // The password given with --password: the answer of the first password
    // dialog, so that a wrong one ends in the radio's refusal.
    std::optional<std::string> password;

    zr::Answer ask(const zr::Question& q) override;
    std::optional<std::string> chooseFile(const zr::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> askPassword() override;
};

// A progress bar on stderr; when stderr is not a terminal (a log file, a
// pipe), a steps line "caption: 0% 10% ... 100%" instead.
class TerminalProgress : public zr::link::TransferObserver {
public:
    void progressShown(zr::link::TransferKind, const std::string& caption) override;
    void progress(int p) override { draw(p); }
    void progressReset() override;
    void progressClosed() override;

private:
    void draw(int p);
    std::string caption_;
    int last_ = -1;
    bool tty_ = false;
};

}  // namespace zrcli
