#pragma once
// Controls and helpers shared by the settings page windows: text boxes with a
// keyboard filter, Enter moving the focus on, binding a drop-down list to its
// page rule, and the common frame of a page with Close and Help.

#include <functional>
#include <optional>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "control/document_events.h"
#include "pages/page_lists.h"
#include "platform/shell/app_services.h"

class QGridLayout;
class QLabel;
class QLayout;
class QScrollArea;

namespace zr {

struct Session;

// Runs a window routine; an unexpected failure is reported in an OK-only
// message box whose text names the window and the routine
// ("FrmScan_Combo1_Click"), and the routine stops where it got to.
void RunGuarded(Session& s, const char* window, const char* routine, const std::function<void()>& fn);

// Moves the focus to the next control in the tab chain of w's window.
void FocusNext(QWidget* w);

// Makes Enter (and the keypad Enter) in w move the focus on, as Tab does.
void EnterMovesFocus(QWidget* w);

// A one-line text box whose typed characters pass a filter (a function of the
// character code giving the code to insert, or 0 to discard it). Enter moves
// the focus on; the clipboard keys and the context menu are disabled; on
// getting the focus the text is selected when selectOnFocus is set.
class PageLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using Filter = std::function<int(int)>;
    explicit PageLineEdit(Filter filter, QWidget* parent = nullptr);
    bool selectOnFocus = true;

signals:
    // A character passed the filter and was inserted.
    void charAccepted();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    Filter filter_;
    bool selectPending_ = false;
};

// Shows a page rule's list in a combo box: its entries, selection and enabled
// state, without raising the box's signals.
void ShowChoice(QComboBox* box, const pages::Choice& choice);

// A drop-down list that is never narrower than its longest entry, nor than
// `minWidth`: its window grows with the texts of a language instead of
// cutting them.
class WholeEntriesComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit WholeEntriesComboBox(int minWidth, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int minWidth_;
};

// A drop-down list of a page: accepts only its entries, Enter moves on.
QComboBox* NewPageCombo(QWidget* parent, int minWidth = 110);
QCheckBox* NewPageCheck(const QString& text, QWidget* parent);
// A label that stands right-aligned just to the left of its field.
QLabel* NewFieldLabel(const QString& text, QWidget* parent);

// Base of the page windows: the session and the main window's services, the
// Close and Help buttons (captions 9023, 9025) and the help context. A page
// listens to the document controller while it is open: it commits its edit
// when a command asks for it and shows a replaced or restored (undo, redo)
// document afresh, in the same window.
class PageWindow : public QWidget, public ChildHooks, protected DocumentListener {
    Q_OBJECT
public:
    PageWindow(AppServices& app, int helpContext, QWidget* parent = nullptr);
    ~PageWindow() override;

    Session& session() { return app_.session(); }
    DocumentController& controller() { return app_.controller(); }
    RadioDocument& document();

    // Takes the value being edited into the document (validates the focused
    // field); nothing for a page without a pending edit.
    virtual void commitEdit() {}
    AppServices& app() { return app_; }
    pages::TextFn texts() const;
    QString text(int number) const;

    QPushButton* CommandClose = nullptr;
    QPushButton* CommandHelp = nullptr;
    // Lays the page out: its fields (`content`) in a scroll area, so that
    // nothing is cut in a small window or at a large scale, and below it the
    // row with Close and Help. Called once, after the fields were made.
    void setPageLayout(QLayout* content);
    QScrollArea* scrollArea() const { return scroll_; }

    // Closes the page (its MDI frame when it has one).
    void closePage();

protected:
    // Every way a page closes (its Close button, its frame, Close all, a
    // new, opened or read document) commits the edit in progress first.
    void closeEvent(QCloseEvent* e) override;
    // Shows the page's record again, from the document as it is now.
    virtual void reshow() {}

    // DocumentListener
    void commitEdits() override { commitEdit(); }
    void documentReplaced() override { reshow(); }
    void documentRestored() override { reshow(); }

    AppServices& app_;
    int helpContext_;

private:
    QWidget* buttonRow();

    std::optional<ListenerSubscription> subscription_;   // while the page is open
    QScrollArea* scroll_ = nullptr;
};

}  // namespace zr
