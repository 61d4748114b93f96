#pragma once
// The print preview of the channel sheet: print it or save it as PDF from
// the preview window.

class QWidget;

namespace zr {

struct Session;

void ShowChannelSheetPreview(const Session& s, QWidget* parent);

}  // namespace zr
