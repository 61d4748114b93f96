#include "platform/serial/backup_folder.h"

#include <QStandardPaths>

namespace zr {

QString BackupFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

}  // namespace zr
