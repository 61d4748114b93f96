#include "platform/shell/file_drop.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "control/document_controller.h"
#include "platform/extras/extras.h"
#include "platform/shell/app_services.h"
#include "platform/shell/texts.h"

namespace zr {

DroppedFile DroppedFileOf(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    const QString path = urls.front().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("dat")) return {DroppedKind::Document, path};
    if (suffix == QLatin1String("csv")) return {DroppedKind::ChannelList, path};
    return {};
}

void OpenDroppedFile(AppServices& app, const DroppedFile& file) {
    switch (file.kind) {
    case DroppedKind::Document:
        if (app.controller().openChosen(ToText(file.path)) == CommandResult::Done)
            app.ShowStatusMessage(Tx(app.session(), 33028).arg(QFileInfo(file.path).fileName()));
        break;
    case DroppedKind::ChannelList:
        // What the user changed before is a step of its own, the import one.
        app.BeginDocumentCommand();
        ImportCsvFile(app, ToText(file.path));
        app.EndDocumentCommand(ImportCsvCaption(app.session()));
        break;
    case DroppedKind::None:
        break;
    }
}

}  // namespace zr
