#pragma once
// "Edit selected...": sets one or more items (TX power, bandwidth, tones,
// scan skip, signalling, busy lockout, PTT ID, ...) on every selected
// channel at once. Each item has a check box that takes it into the change
// and a list with its value; OK sets the checked items through the channel
// rules (SetItemsOnChannels) and closes.

#include <vector>

#include <QDialog>

#include "channels/channel_batch.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;

namespace zr {

struct Session;

class FrmEditSelected : public QDialog {
    Q_OBJECT
public:
    FrmEditSelected(Session& s, std::vector<int> channels, QWidget* parent = nullptr);

    struct Row {
        int item = 0;
        QCheckBox* use = nullptr;
        QComboBox* value = nullptr;
    };
    const std::vector<Row>& rows() const { return rows_; }
    // The checked items with their chosen values.
    std::vector<ChannelItemValue> chosen() const;
    // Channels changed by the last OK.
    int changed() const { return changed_; }
    QDialogButtonBox* buttons() const { return buttons_; }

    void accept() override;

private:
    Session& s_;
    std::vector<int> channels_;
    std::vector<Row> rows_;
    QDialogButtonBox* buttons_ = nullptr;
    int changed_ = 0;
};

}  // namespace zr
