#pragma once
// The program's help viewer: HTML pages in the folder "help" of the program
// folder, one per help context ("3100.html"), "index.html" the default topic.

#include <QDialog>

class QTextBrowser;

namespace zr {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(const QString& helpFolder, const QString& caption, QWidget* parent = nullptr);
    // Shows the page of a context number (0: the default topic). Returns
    // false when the page is missing; the window then says so.
    bool showContext(int context);
    int currentContext() const { return context_; }
    QTextBrowser* browser() const { return browser_; }

    // The page file of a context in a help folder.
    static QString pageFile(const QString& helpFolder, int context);

private:
    QString folder_;
    QTextBrowser* browser_ = nullptr;
    int context_ = -1;
};

}  // namespace zr
