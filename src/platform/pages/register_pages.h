#pragma once
// Registers the settings page windows (FrmOptFeatures, FrmDTMF, FrmScan,
// FrmAlert, FrmKey, FrmEmbMsg, FrmRadio, FrmRadioInfo) and the factory test
// data dialog (FrmTestData) with the main window.

namespace zr {
void RegisterPageWindows();
}
