#pragma once
// Files dropped on the main window. One local document (.dat) opens as
// File > Open opens a chosen file: the unsaved-changes question first, then
// the checks of the file and its version. One channel list (.csv) is
// imported as File > Import CSV imports a chosen one, with its report, as
// one undo step. Anything else is refused while it is being dragged.

#include <QString>

class QMimeData;

namespace zr {

class AppServices;

enum class DroppedKind { None, Document, ChannelList };

struct DroppedFile {
    DroppedKind kind = DroppedKind::None;
    QString path;
};

// What a drag brings: exactly one local file named *.dat or *.csv (in any
// letter case); otherwise None.
DroppedFile DroppedFileOf(const QMimeData* mime);

// Opens or imports the dropped file.
void OpenDroppedFile(AppServices& app, const DroppedFile& file);

}  // namespace zr
