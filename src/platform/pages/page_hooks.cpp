#include "platform/pages/page_hooks.h"

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "shell/session.h"
#include "platform/pages/frm_key.h"
#include "platform/shell/app_services.h"

namespace zr {

void RefreshKeyPage(AppServices& app) {
    if (auto* key = qobject_cast<FrmKey*>(app.FindChildWindow("FrmKey"))) key->refreshKeys();
}

void RevalidateChannelRefsFromPages(Session& s) { RevalidateChannelRefs(s); }

void AlignIdCodesFromPages(AppServices& app) { AlignIdCodeLengths(app.session()); }

void GroupCodesChangedFromPages(AppServices& app) {
    // Re-reading its channel rebuilds the edit window's auto-dial memory list.
    app.session().windows.views.channelsChanged();
}

}  // namespace zr
