#pragma once
// Shared test helpers: a prompter answered by script, temporary folders and
// the paths of the source tree's installation data.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "shell/prompter.h"

class QWidget;

namespace zrtest {

// Answers questions, file dialogs and password requests from queues filled by
// the test, and records every question asked. A question with no scripted
// answer fails the running test at once (GoogleTest or Qt Test) and gets the
// answer that stops whatever asked: Cancel, No, or OK when that is the only
// button. File dialogs and password requests without a script are cancelled.
class ScriptedPrompter : public zr::Prompter {
public:
    std::deque<zr::Answer> answers;
    std::deque<std::optional<std::string>> files;
    std::deque<std::optional<std::string>> passwords;

    std::vector<zr::Question> asked;
    std::vector<zr::FileDialogRequest> fileRequests;
    int passwordRequests = 0;
    int unscripted = 0;

    zr::Answer ask(const zr::Question& q) override;
    std::optional<std::string> chooseFile(const zr::FileDialogRequest& r) override;
    std::optional<std::string> askPassword() override;

    // Texts of all questions asked so far, in order.
    std::vector<std::string> texts() const;
};

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str(const std::string& name = {}) const;

private:
    std::filesystem::path path_;
};

// Switches the process to a locale whose decimal separator is "," (the
// de_DE.UTF-8 that test.sh provides) for the life of the object, then back.
// active() is false when no such locale is installed.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool active() const { return active_; }

private:
    std::string saved_;
    bool active_ = false;
};

// An installation of the shipped data below `root`: root/Version.ini,
// root/language/mysetup.ini and the program folder root/V100 with its
// language, help and PIC folders.
void MakeInstallation(const std::filesystem::path& root);

// A tmpfs of `kilobytes` mounted on a fresh folder, to fill a disk; needs
// the right to mount (root outside a restricted container). ok() false
// with the reason in why() when it could not be mounted.
class SmallTmpfs {
public:
    explicit SmallTmpfs(int kilobytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
    bool ok() const { return mounted_; }
    const std::string& why() const { return why_; }
    std::string str(const std::string& name = {}) const { return dir_.str(name); }
    // Fills the rest of the file system with one file named `name`.
    void fill(const std::string& name = "filler") const;

private:
    TempDir dir_;
    bool mounted_ = false;
    std::string why_;
};

std::filesystem::path sourceDir();    // the project's source tree
std::filesystem::path binaryDir();    // the build tree of the tests

std::vector<unsigned char> readBytes(const std::filesystem::path& p);
void writeBytes(const std::filesystem::path& p, const std::vector<unsigned char>& bytes);

// The title of a window as the user sees it: Qt's "[*]" mark shown as "*"
// while the window is marked modified, else left out.
QString shownTitle(const QWidget& w);

}  // namespace zrtest
