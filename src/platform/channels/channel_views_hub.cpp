#include "platform/channels/channel_views_hub.h"

#include "platform/channels/frm_ch_info_edit.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "shell/session.h"

namespace zr {

namespace {

frmCommChInfo* tableOf(AppServices& app) {
    return qobject_cast<frmCommChInfo*>(app.FindChildWindow(QStringLiteral("frmCommChInfo")));
}

FrmCHInfoEdit* editOf(AppServices& app) {
    return qobject_cast<FrmCHInfoEdit*>(app.FindChildWindow(QStringLiteral("FrmCHInfoEdit")));
}

}  // namespace

void ChannelViewsHub::reShowGrid(int channelNumber) {
    if (frmCommChInfo* t = tableOf(app_)) t->reShowGrid(channelNumber);
}

void ChannelViewsHub::SetGridEditData(bool rIsGridChange) {
    if (FrmCHInfoEdit* w = editOf(app_)) w->SetGridEditData(rIsGridChange);
}

void ChannelViewsHub::resetForNewDocument() {
    if (frmCommChInfo* t = tableOf(app_)) t->SetEditDisable();
}

void ChannelViewsHub::install() { app_.session().windows.views = this; }

void ChannelViewsHub::release() {
    Session& s = app_.session();
    if (s.windows.views != this) return;
    s.windows.views = nullptr;
    if (frmCommChInfo* t = tableOf(app_); t && t->viewsHub() != this) s.windows.views = t->viewsHub();
    else if (FrmCHInfoEdit* w = editOf(app_); w && w->viewsHub() != this) s.windows.views = w->viewsHub();
}

}  // namespace zr
