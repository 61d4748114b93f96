#include "platform/channels/channel_dialogs.h"
#include "platform/channels/frm_ch_batch.h"
#include "platform/channels/frm_ch_info_edit.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/shell/app_services.h"

namespace zr {

void RegisterChannelWindows() {
    RegisterChildWindow(QStringLiteral("frmCommChInfo"), [](AppServices& app) -> QWidget* { return new frmCommChInfo(app); });
    RegisterChildWindow(QStringLiteral("FrmCHInfoEdit"), [](AppServices& app) -> QWidget* { return new FrmCHInfoEdit(app); });
    RegisterChildWindow(QStringLiteral("FrmCHBatch"),
                        [](AppServices& app) -> QWidget* { return new FrmCHBatch(app, app.mainWidget()); });
    RegisterChildWindow(QStringLiteral("FrmHabits"),
                        [](AppServices& app) -> QWidget* { return new FrmHabits(app.session(), app.mainWidget()); });
    RegisterChildWindow(QStringLiteral("FrmMsgConfirm"), [](AppServices& app) -> QWidget* {
        return new FrmMsgConfirm(app.session(), ConfirmMode::Paste, app.mainWidget());
    });
}

}  // namespace zr
