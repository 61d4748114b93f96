#include "platform/shell/help_window.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/shell/texts.h"

namespace zr {

HelpWindow::Texts HelpWindow::textsOf(const Session& s) {
    Texts t;
    t.back = Tx(s, 31100);
    t.contents = Tx(s, 31101);
    t.close = Tx(s, 9023);
    t.inEnglish = Tx(s, 31102);
    t.notFound = Tx(s, 31103);
    t.notInstalled = Tx(s, 31104);
    return t;
}

HelpWindow::HelpWindow(const QString& helpFolder, const QString& caption, QWidget* parent)
    : HelpWindow(Folders{helpFolder, helpFolder}, Texts{}, caption, parent) {}

HelpWindow::HelpWindow(const Folders& folders, const Texts& texts, const QString& caption, QWidget* parent)
    : QDialog(parent), folders_(folders), texts_(texts) {
    setObjectName("HelpWindow");
    setWindowTitle(caption);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setModal(false);
    inEnglish_ = new QLabel(texts_.inEnglish);
    inEnglish_->setObjectName("LabelInEnglish");
    inEnglish_->setFrameShape(QFrame::StyledPanel);
    inEnglish_->setMargin(4);
    inEnglish_->hide();
    browser_ = new QTextBrowser;
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);
    // Links between pages follow the language: a page it lacks comes from
    // the English folder.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (!url.isLocalFile()) return;
        const QString name = QFileInfo(url.toLocalFile()).fileName();
        bool ok = false;
        const int context = name == QLatin1String("index.html") ? 0 : QFileInfo(name).baseName().toInt(&ok);
        if (context == 0 || ok) showContext(context);
    });
    // Also for Back: the notice and the context follow the page shown.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QFileInfo shown(url.toLocalFile());
        bool ok = false;
        const int context = shown.fileName() == QLatin1String("index.html") ? 0 : shown.baseName().toInt(&ok);
        if (context == 0 || ok) context_ = context;
        inEnglish_->setVisible(QDir(shown.absolutePath()) != QDir(folders_.language));
    });
    auto* back = new QPushButton(texts_.back);
    auto* home = new QPushButton(texts_.contents);
    auto* close = new QPushButton(texts_.close);
    back->setObjectName("CommandBack");
    home->setObjectName("CommandContents");
    close->setObjectName("CommandClose");
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
    v->addWidget(inEnglish_);
    v->addWidget(browser_, 1);
    v->addLayout(row);
    resize(640, 480);
}

QString HelpWindow::pageFile(const QString& helpFolder, int context) {
    return QDir(helpFolder).filePath(context == 0 ? QStringLiteral("index.html")
                                                  : QString::number(context) + ".html");
}

QString HelpWindow::folderFor(const QString& file) const {
    return QFileInfo::exists(QDir(folders_.language).filePath(file)) ? folders_.language : folders_.english;
}

bool HelpWindow::showsEnglishInstead() const { return !inEnglish_->isHidden(); }

bool HelpWindow::showContext(int context) {
    context_ = context;
    const QString name = QFileInfo(pageFile(QString(), context)).fileName();
    const QString folder = folderFor(name);
    const QString file = pageFile(folder, context);
    if (!QFileInfo::exists(file)) {
        inEnglish_->hide();
        browser_->setHtml(QStringLiteral("<h3>%1</h3><p>%2</p>")
                              .arg(texts_.notFound.toHtmlEscaped(),
                                   texts_.notInstalled.toHtmlEscaped().arg(
                                       QStringLiteral("<code>%1</code>").arg(file.toHtmlEscaped()))));
        return false;
    }
    inEnglish_->setVisible(QDir(folder) != QDir(folders_.language));
    browser_->setSource(QUrl::fromLocalFile(file));
    return true;
}

}  // namespace zr
