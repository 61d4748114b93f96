#pragma once
// Every message box, question and file dialog of the program goes through
// this one interface: the windows show real dialogs, tests answer by script.

#include <optional>
#include <string>

namespace zr {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Warning, Critical, Question };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct Question {
    std::string text;
    std::string caption;            // empty: the program title (text 12000)
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

struct FileDialogRequest {
    std::string caption;
    std::string filter;             // "label (*.dat)|*.dat"
    std::string initialPath;
    bool save = false;              // false: open dialog
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual Answer ask(const Question& q) = 0;

    // Returns the chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& r) = 0;

    // The programming password dialog: the typed text, or nothing on Cancel.
    virtual std::optional<std::string> askPassword() = 0;

    // Shorthand for an OK-only message.
    void tell(const std::string& text, Icon icon = Icon::None,
              const std::string& caption = {}) {
        ask(Question{text, caption, Buttons::Ok, icon});
    }
};

}  // namespace zr
