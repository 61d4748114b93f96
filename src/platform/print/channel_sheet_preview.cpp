#include "platform/print/channel_sheet_preview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

#include "platform/print/channel_sheet.h"

namespace zr {

void ShowChannelSheetPreview(const Session& s, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    SetUpChannelSheetPage(printer);
    printer.setDocName(ChannelSheetTitle(s));
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setWindowTitle(ChannelSheetTitle(s));
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                     [&s](QPrinter* pr) { RenderChannelSheet(s, *pr); });
    dlg.exec();
}

}  // namespace zr
