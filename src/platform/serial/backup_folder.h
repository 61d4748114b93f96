#pragma once
// Where the backups of radio reads are kept, for the windows and the
// command line alike: <user data folder of the program>/backups, the
// freedesktop data location of the application (~/.local/share/zrcps/zrcps
// for the program, whose organisation and application name are "zrcps").

#include <QString>

namespace zr {

QString BackupFolder();

}  // namespace zr
