#pragma once
// The prompter of the program with windows: message boxes, file dialogs and
// the password dialog, all owned by the main window.

#include <QPointer>
#include <QWidget>

#include "shell/prompter.h"

namespace zr {

struct Session;

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(Session& s) : s_(s) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    Answer ask(const Question& q) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& r) override;
    std::optional<std::string> askPassword() override;

private:
    Session& s_;
    QPointer<QWidget> owner_;
};

// "label (*.dat)|*.dat" becomes the Qt filter "label (*.dat)".
QString QtFileFilter(const std::string& filter);

}  // namespace zr
