#pragma once
// File > Compare with...: the open document against another document, a
// backup, or the radio (read into a copy that does not replace the open
// document). The differences are listed grouped by channel and settings
// page; activating (double-click, Enter) a channel's line selects that
// channel in the channel table. The window is not modal, so the table can
// be used beside it.

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "link/differences.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zr {

class CompareTools;
namespace link {
class ScratchEngine;
}

class FrmCompare : public QDialog {
    Q_OBJECT
public:
    FrmCompare(CompareTools& tools, QWidget* parent = nullptr);
    ~FrmCompare() override;

    QPushButton* CommandDocument = nullptr;
    QPushButton* CommandBackup = nullptr;
    QPushButton* CommandRadio = nullptr;
    QPushButton* CommandClose = nullptr;
    QLabel* LabelSides = nullptr;
    QTreeWidget* List1 = nullptr;

    // The comparisons behind the buttons (the file ones without a dialog).
    void compareWithFile(const std::string& path);
    void compareWithRadio();
    bool readingRadio() const;
    // The lines last shown, in order.
    const std::vector<link::Difference>& differences() const { return differences_; }

signals:
    void compared();

private:
    void chooseFile(bool backup);
    void showDifferences(const QString& what, std::vector<link::Difference> differences);
    void activated(QTreeWidgetItem* item);

    CompareTools& tools_;
    std::unique_ptr<link::ScratchEngine> scratch_;
    std::vector<link::Difference> differences_;
};

}  // namespace zr
