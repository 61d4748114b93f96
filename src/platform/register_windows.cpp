// The one place where the window modules register their child windows with
// the main window. Each module offers one function that calls
// zr::RegisterChildWindow(name, factory) for each of its windows; add its call
// line below (and its header include) once the function exists.
//
//   channel windows: frmCommChInfo, FrmCHInfoEdit, FrmCHBatch, FrmMsgConfirm, FrmHabits
//   pages:           FrmOptFeatures, FrmDTMF, FrmScan, FrmAlert, FrmKey, FrmEmbMsg,
//                    FrmRadio, FrmRadioInfo, FrmTestData
//
// Page windows are shown in the MDI area (AppServices::ShowChild); dialogs
// must be QDialogs and are shown modally (AppServices::ShowModal).

#include "platform/channels/frm_comm_ch_info.h"
#include "platform/pages/register_pages.h"
#include "platform/shell/app_services.h"

namespace zr {

void RegisterAllWindows() {
    RegisterChannelWindows();
    RegisterPageWindows();
}

}  // namespace zr
