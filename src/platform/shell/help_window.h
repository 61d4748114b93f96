#pragma once
// The program's help viewer: HTML pages, one per help context ("3100.html"),
// "index.html" the default topic. A language may have its own help folder;
// a page it lacks is shown from the English folder, with a line above the
// page that says so in the run's language.

#include <QDialog>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace zr {

struct Session;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    struct Folders {
        QString language;   // the run's language's pages
        QString english;    // the English pages, for what the first lacks
    };
    // The window's own texts; the defaults are the English ones.
    struct Texts {
        QString back = QStringLiteral("&Back");
        QString contents = QStringLiteral("C&ontents");
        QString close = QStringLiteral("&Close");
        QString inEnglish = QStringLiteral("This help page is not available in your language; it is shown in English.");
        QString notFound = QStringLiteral("Help page not found");
        QString notInstalled = QStringLiteral("The help page %1 is not installed.");
    };
    // The texts of the run's language.
    static Texts textsOf(const Session& s);

    HelpWindow(const Folders& folders, const Texts& texts, const QString& caption, QWidget* parent = nullptr);
    // English pages only.
    HelpWindow(const QString& helpFolder, const QString& caption, QWidget* parent = nullptr);

    // Shows the page of a context number (0: the default topic). Returns
    // false when the page is missing; the window then says so.
    bool showContext(int context);
    int currentContext() const { return context_; }
    QTextBrowser* browser() const { return browser_; }
    // Whether the shown page is the English one standing in for a missing
    // translation (the notice above the page is then shown).
    bool showsEnglishInstead() const;

    // The page file of a context in a help folder.
    static QString pageFile(const QString& helpFolder, int context);

private:
    // The folder a page is taken from: the language's when it has the page.
    QString folderFor(const QString& file) const;

    Folders folders_;
    Texts texts_;
    QTextBrowser* browser_ = nullptr;
    QLabel* inEnglish_ = nullptr;
    int context_ = -1;
};

}  // namespace zr
