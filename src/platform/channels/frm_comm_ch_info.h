#pragma once
// The channel table window: one row per channel, in-place editors over the
// cells, and blocks of rows. It publishes its selection through ChannelFocus,
// where the channel commands find it, and selects the rows they ask for.

#include <optional>
#include <set>
#include <vector>

#include <QElapsedTimer>
#include <QWidget>

#include "channels/channel_commands.h"
#include "channels/channel_view.h"
#include "channels/grid_edit.h"
#include "platform/channels/channel_focus.h"
#include "control/document_events.h"
#include "platform/shell/app_services.h"

class QComboBox;
class QKeyEvent;
class QMouseEvent;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zr {

class frmCommChInfo : public QWidget, public ChildHooks, private DocumentListener {
    Q_OBJECT
public:
    explicit frmCommChInfo(AppServices& app, QWidget* parent = nullptr);
    ~frmCommChInfo() override;

    // Table operations used by the main window, the channel operations and
    // the other channel windows.
    void InitShowGrid();
    void ChangShowByLanguage();
    void SetGridData();
    void reShowGrid(int rRow);
    void reShowAllGrid();
    void ReShowAllTxFre(bool rOffSet);
    void ReShowChInfoByLanguage();
    void SetEditDisable();

    // In-place editing.
    void EnterGridEdit();
    bool FlexConcludeRx();
    // Writes what the user typed into the open editor (nothing for an
    // untouched editor); false when the typed text was refused.
    bool ConcludeGridEdit();
    void SetShowEditData();
    void GridNextLine();
    void GridNextCol();

    // The current row (0 = header, 1..129).
    int currentRow() const;
    // ChildHooks
    void languageChanged() override;
    bool recaptionsInPlace() const override { return true; }

    // The row whose editor is open (or was opened last).
    int editRow() const { return state_.editCell.row; }
    // The channel edit window moved the edit row: the open editor is hidden
    // so that a later choice in it cannot land on another channel.
    void setEditRow(int row);
    // The current cell, rows 1..129 as the channels.
    void setCurrentCell(int row, int col);
    int currentCol() const;
    QString cellText(int row, int col) const;
    // Rows the table keeps visible after a move (recomputed on resize).
    int visibleRows() const { return visibleRows_; }
    int topRow() const;
    void setTopRow(int row);

    QTableWidget* MSFlexGrid1 = nullptr;
    QComboBox* Combo6_1 = nullptr;   // RX chooser
    QComboBox* Combo6_2 = nullptr;   // TX chooser
    QLineEdit* Text2 = nullptr;      // name box
    QComboBox* Combo1 = nullptr;     // tone chooser
    QComboBox* Combo3 = nullptr;     // scan chooser
    QComboBox* Combo4 = nullptr;     // signalling chooser
    QPushButton* CommandEdit = nullptr;
    QPushButton* CommandClose = nullptr;
    QPushButton* CommandHelp = nullptr;

    GridEditState& editState() { return state_; }

    // Rows selected as a block (click, Shift+click and Ctrl+click on the
    // row labels, Shift with the arrow keys, Select all), in ascending
    // order; with no block, the current row alone.
    std::vector<int> selectedRows() const;
    // Selects rows from..to as the block (the current row moves to `to`).
    void selectRows(int from, int to);
    // Moves the selected rows in front of row `before` (a drop).
    void dropRowsBefore(const std::vector<int>& rows, int before);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    // DocumentListener: the table follows every change of the document.
    void commitEdits() override { SetEditDisable(); }
    void channelChanged(int n) override { reShowGrid(n); }
    void channelsChanged() override;
    void documentReplaced() override;
    void habitsChanged() override;

    void setCurrentRow(int t);
    void fillRow(int row, const ChannelRecord& c);
    void clearRow(int row);
    void tellUnreadableShown();
    void writeCaption(int row);
    void hideEditors();
    void placeEditor(QWidget* w, int row, int col);
    void onCurrentCellChanged(int qRow, int qCol, int prevRow, int prevCol);
    void onCellEntered();
    void onCellClicked();
    void onCellDoubleClicked(int qRow, int qCol);
    void onChooserActivated(QComboBox* box);
    void onChooserEnter(QComboBox* box);
    void onContextMenu(const QPoint& pos);
    void showChooserText(QComboBox* box, const QString& text);
    void fillFrequencyChoosers();
    void moveByKey(const QKeyEvent* k);
    void restoreEditor();
    void typeIntoEditor(const QKeyEvent* k);
    void openEditWindow();
    void updateCommands();
    void fail(const char* text);
    // Block selection and the commands on blocks (frm_comm_ch_info_rows.cpp).
    bool rowMouseEvent(QMouseEvent* e);
    bool rowKeyEvent(QKeyEvent* k);
    bool rowDropEvent(QEvent* e);
    void showBlock();
    void clearBlock();
    void showRequestedRows(int from, int to, RowRequest how);
    void startRowDrag();
    QComboBox* chooserFor(int col) const;
    RadioDocument& doc();

    AppServices& app_;
    Session& s_;
    DocumentController& ctl_;
    GridEditState state_;
    TableLists lists_;
    bool firstActivation_ = true;
    bool languageRunning_ = false;
    bool inEntry_ = false;
    bool concluding_ = false;
    bool unreadableShown_ = false;   // a row filled since the last message has a damaged RX
    int visibleRows_ = 10;
    QElapsedTimer doubleClickGuard_;
    std::optional<ListenerSubscription> subscription_;   // while the window is open
    std::set<int> block_;        // rows of the block; empty: the current row
    int anchor_ = 0;             // where Shift+click and Shift+arrows start
    bool extending_ = false;     // the current cell moves within a selection
    QPoint dragStart_;           // press on a row label that may start a drag
};

// Registers the channel windows with the main window.
void RegisterChannelWindows();

}  // namespace zr
