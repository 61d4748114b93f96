#include "platform/pages/page_widgets.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QTimer>

#include "control/document_controller.h"
#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/session.h"
#include "platform/shell/texts.h"

namespace zr {

void RunGuarded(Session& s, const char* window, const char* routine, const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception&) {
        if (s.prompter) s.prompter->tell(std::string(window) + "_" + routine);
    }
}

void FocusNext(QWidget* w) {
    if (!w) return;
    QWidget* next = w->nextInFocusChain();
    while (next && next != w) {
        if (next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus) &&
            next->window() == w->window() && !next->focusProxy()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
        next = next->nextInFocusChain();
    }
}

namespace {

bool isEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

class EnterFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* ev) override {
        if (ev->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(ev))) {
            auto* w = qobject_cast<QWidget*>(o);
            // A combo box with its list open takes Enter as the choice.
            if (auto* c = qobject_cast<QComboBox*>(w); c && c->view() && c->view()->isVisible())
                return false;
            FocusNext(w);
            return true;
        }
        return false;
    }
};

}  // namespace

void EnterMovesFocus(QWidget* w) { w->installEventFilter(new EnterFilter(w)); }

PageLineEdit::PageLineEdit(Filter filter, QWidget* parent)
    : QLineEdit(parent), filter_(std::move(filter)) {
    setContextMenuPolicy(Qt::NoContextMenu);
}

void PageLineEdit::keyPressEvent(QKeyEvent* e) {
    if (isEnter(e)) {
        FocusNext(this);
        return;
    }
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Paste) ||
        e->matches(QKeySequence::Cut) ||
        ((e->modifiers() & Qt::ControlModifier) &&
         (e->key() == Qt::Key_C || e->key() == Qt::Key_V || e->key() == Qt::Key_X)) ||
        (e->modifiers() & Qt::ShiftModifier && e->key() == Qt::Key_Insert)) {
        return;
    }
    const QString t = e->text();
    if (!t.isEmpty() && t[0].unicode() >= 32 && t[0].unicode() != 127) {
        int code = t[0].unicode();
        if (code > 127) return;  // only 7-bit characters can be typed
        int out = filter_ ? filter_(code) : code;
        if (out == 0) return;
        if (out != code) {
            insert(QString(QChar(out)));
        } else {
            const QString before = text();
            const bool replacing = hasSelectedText();
            QLineEdit::keyPressEvent(e);
            if (text() == before && !replacing) return;  // at its limit
        }
        emit charAccepted();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void PageLineEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (selectOnFocus && !text().isEmpty()) {
        selectAll();
        selectPending_ = e->reason() == Qt::MouseFocusReason;
    }
}

void PageLineEdit::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    // The click that gave the focus would otherwise drop the selection.
    if (selectPending_) {
        selectPending_ = false;
        selectAll();
    }
}

void ShowChoice(QComboBox* box, const pages::Choice& choice) {
    QSignalBlocker block(box);
    bool same = box->count() == choice.count();
    for (int i = 0; same && i < choice.count(); ++i)
        same = box->itemText(i) == FromText(choice.entries[i]);
    if (!same) {
        box->clear();
        for (const auto& e : choice.entries) box->addItem(FromText(e));
    }
    box->setCurrentIndex(choice.hasSelection() ? choice.selected : -1);
    box->setEnabled(choice.enabled);
}

WholeEntriesComboBox::WholeEntriesComboBox(int minWidth, QWidget* parent)
    : QComboBox(parent), minWidth_(minWidth) {
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

QSize WholeEntriesComboBox::sizeHint() const {
    return QComboBox::sizeHint().expandedTo(QSize(minWidth_, 0));
}

QSize WholeEntriesComboBox::minimumSizeHint() const {
    return QSize(sizeHint().width(), QComboBox::minimumSizeHint().height());
}

QComboBox* NewPageCombo(QWidget* parent, int minWidth) {
    auto* c = new WholeEntriesComboBox(minWidth, parent);
    c->setEditable(false);
    c->setMaxVisibleItems(16);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    c->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    EnterMovesFocus(c);
    return c;
}

QCheckBox* NewPageCheck(const QString& text, QWidget* parent) {
    auto* c = new QCheckBox(text, parent);
    EnterMovesFocus(c);
    return c;
}

QLabel* NewFieldLabel(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

PageWindow::PageWindow(AppServices& app, int helpContext, QWidget* parent)
    : QWidget(parent), app_(app), helpContext_(helpContext) {
    subscription_.emplace(app_.controller().listeners(), static_cast<DocumentListener*>(this));
}

PageWindow::~PageWindow() = default;

RadioDocument& PageWindow::document() { return app_.controller().document(); }

pages::TextFn PageWindow::texts() const {
    Session* s = &app_.session();
    return [s](int n) { return LanguageText(*s, n); };
}

QString PageWindow::text(int number) const { return Tx(app_.session(), number); }

namespace {

// The scroll area of a page: it asks for the whole size of the page's
// fields, and the field that gets the focus (Tab, Enter) is scrolled into
// view.
class PageScrollArea : public QScrollArea {
public:
    explicit PageScrollArea(QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setFocusPolicy(Qt::NoFocus);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && widget() && widget()->isAncestorOf(now)) showWhole(now);
        });
    }
    QSize sizeHint() const override {
        if (!widget()) return QScrollArea::sizeHint();
        const int f = 2 * frameWidth();
        return widget()->sizeHint().expandedTo(widget()->minimumSizeHint()) + QSize(f, f);
    }

protected:
    // The page's fields were filled while it was hidden, which a hidden
    // widget does not tell its layout: the fields are laid out afresh, and
    // the page learns the size they ask for.
    void showEvent(QShowEvent* e) override {
        QScrollArea::showEvent(e);
        if (QLayout* l = widget() ? widget()->layout() : nullptr) {
            l->invalidate();
            l->activate();
        }
        updateGeometry();
    }

private:
    // The whole field, not only its text cursor, with a small margin; its
    // start when it is larger than the view.
    void showWhole(QWidget* field) {
        constexpr int kMargin = 4;
        const QRect r = QRect(field->mapTo(widget(), QPoint(0, 0)), field->size())
                            .adjusted(-kMargin, -kMargin, kMargin, kMargin);
        const QRect seen(-widget()->pos(), viewport()->size());
        auto follow = [](QScrollBar* bar, int from, int to, int seenFrom, int seenLength) {
            if (to - from > seenLength || from < seenFrom) bar->setValue(from);
            else if (to > seenFrom + seenLength) bar->setValue(to - seenLength);
        };
        follow(horizontalScrollBar(), r.left(), r.left() + r.width(), seen.left(), seen.width());
        follow(verticalScrollBar(), r.top(), r.top() + r.height(), seen.top(), seen.height());
    }
};

}  // namespace

void PageWindow::setPageLayout(QLayout* content) {
    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("PageBody"));
    content->setContentsMargins(0, 0, 0, 0);
    body->setLayout(content);
    scroll_ = new PageScrollArea(this);
    scroll_->setObjectName(QStringLiteral("PageScroll"));
    scroll_->setWidget(body);
    auto* v = new QVBoxLayout(this);
    v->addWidget(scroll_, 1);
    v->addWidget(buttonRow());
}

QWidget* PageWindow::buttonRow() {
    // Made after the page's fields, so that they come last in the tab order.
    auto* row = new QWidget(this);
    CommandClose = new QPushButton(text(9023), row);
    CommandHelp = new QPushButton(text(9025), row);
    CommandClose->setObjectName("CommandClose");
    CommandHelp->setObjectName("CommandHelp");
    connect(CommandClose, &QPushButton::clicked, this, [this] { closePage(); });
    connect(CommandHelp, &QPushButton::clicked, this, [this] {
        if (helpContext_ > 0) app_.ShowHelp(helpContext_);
    });
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 8, 0, 0);
    h->addStretch(1);
    for (QPushButton* b : {CommandClose, CommandHelp}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
        h->addWidget(b);
    }
    return row;
}

void PageWindow::closeEvent(QCloseEvent* e) {
    commitEdit();
    subscription_.reset();
    QWidget::closeEvent(e);
}

void PageWindow::closePage() {
    commitEdit();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

}  // namespace zr
