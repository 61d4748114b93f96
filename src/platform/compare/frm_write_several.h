#pragma once
// Program > Write to several radios: the open document written into one
// radio after another (link/dealer_run.h holds the rules). Enter or "Write
// next radio" starts the next radio's turn; the running list shows each
// radio's number, time, serial number and result, a failed radio marked;
// "Try again" repeats the selected radio's turn; "Save list..." keeps the
// list as CSV. Closing a list that was not saved asks first.

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace zr {

class CompareTools;
namespace link {
class DealerRun;
}

class FrmWriteSeveral : public QDialog {
    Q_OBJECT
public:
    FrmWriteSeveral(CompareTools& tools, QWidget* parent = nullptr);
    ~FrmWriteSeveral() override;

    QLabel* LabelStatus = nullptr;
    QTreeWidget* List1 = nullptr;
    QPushButton* CommandNext = nullptr;
    QPushButton* CommandRetry = nullptr;
    QPushButton* CommandSave = nullptr;
    QPushButton* CommandClose = nullptr;

    const link::DealerRun& run() const { return *run_; }
    bool writing() const;

signals:
    // A radio's turn ended and the list shows it.
    void turnEnded(int row);

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void next();
    void retry();
    void save();
    void turnDone(std::size_t row);
    void showRow(std::size_t row);
    void updateButtons();
    bool begin();

    CompareTools& tools_;
    std::unique_ptr<link::DealerRun> run_;
    bool saved_ = true;
};

}  // namespace zr
