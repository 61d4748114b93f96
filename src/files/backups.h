#pragma once
// Backups of every radio read: each document read from a radio is saved,
// unasked, as a document file in a backups folder, so that the radio's
// original programming can always be opened again. Files are named by
// model, date and time, "ZR-E271_20261209-134502.dat" (a second backup in
// the same second gets "-2", "-3", ...). The newest kBackupsKept are kept;
// older ones are removed. Files in the folder that do not follow the naming
// are never listed or removed.

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "shell/result.h"

namespace zr {

struct Session;

inline constexpr std::size_t kBackupsKept = 50;

struct BackupEntry {
    std::string path;       // full path
    std::string fileName;   // "ZR-E271_20261209-134502.dat"
    std::string model;      // "ZR-E271"
    std::string when;       // "2026-12-09 13:45:02"
    std::string stamp;      // "20261209-134502", sorts by time
    int sequence = 1;       // 1, or the "-n" of a same-second backup
};

// The file name of a backup made at `localTime` (without sequence).
std::string BackupFileName(const std::string& model, const std::tm& localTime);

// The backups in the folder, newest first.
std::vector<BackupEntry> ListBackups(const std::string& folder);

// Removes all but the newest `keep` backups; returns how many were removed.
std::size_t PruneBackups(const std::string& folder, std::size_t keep = kBackupsKept);

// Saves the session's document into the folder (created when missing) as a
// backup made at `now`, then prunes. The document itself, its file name and
// its change state are untouched; savedPath names the backup. Fails with a
// reason when it could not be written (nothing is pruned then).
Result SaveReadBackup(const Session& s, const std::string& folder, std::string& savedPath,
                      std::time_t now = std::time(nullptr));

}  // namespace zr
