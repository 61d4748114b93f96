#include "platform/shell/help_window.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zr {

HelpWindow::HelpWindow(const QString& helpFolder, const QString& caption, QWidget* parent)
    : QDialog(parent), folder_(helpFolder) {
    setObjectName("HelpWindow");
    setWindowTitle(caption);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setModal(false);
    browser_ = new QTextBrowser;
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);
    browser_->setSearchPaths({helpFolder});
    auto* back = new QPushButton(tr("Back"));
    auto* home = new QPushButton(tr("Contents"));
    auto* close = new QPushButton(tr("Close"));
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    connect(home, &QPushButton::clicked, this, [this] { showContext(0); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* row = new QHBoxLayout;
    row->addWidget(back);
    row->addWidget(home);
    row->addStretch();
    row->addWidget(close);
    auto* v = new QVBoxLayout(this);
    v->addWidget(browser_, 1);
    v->addLayout(row);
    resize(640, 480);
}

QString HelpWindow::pageFile(const QString& helpFolder, int context) {
    return QDir(helpFolder).filePath(context == 0 ? QStringLiteral("index.html")
                                                  : QString::number(context) + ".html");
}

bool HelpWindow::showContext(int context) {
    context_ = context;
    const QString file = pageFile(folder_, context);
    if (!QFileInfo::exists(file)) {
        browser_->setHtml(tr("<h3>Help page not found</h3><p>The help page <code>%1</code> is not "
                             "installed.</p>")
                              .arg(file.toHtmlEscaped()));
        return false;
    }
    browser_->setSource(QUrl::fromLocalFile(file));
    return true;
}

}  // namespace zr
