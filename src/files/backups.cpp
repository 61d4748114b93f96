#include "files/backups.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "data/bands.h"
#include "files/document_record.h"
#include "shell/session.h"

namespace zr {

namespace fs = std::filesystem;

namespace {

bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<model>_<8 digits>-<6 digits>[-n].dat"
bool ParseBackupName(const std::string& name, BackupEntry& e) {
    if (name.size() < 4 || name.substr(name.size() - 4) != ".dat") return false;
    std::string stem = name.substr(0, name.size() - 4);
    const std::size_t us = stem.rfind('_');
    if (us == std::string::npos || us == 0) return false;
    std::string tail = stem.substr(us + 1);
    int seq = 1;
    if (tail.size() > 15) {
        if (tail[15] != '-' || !AllDigits(tail.substr(16))) return false;
        if (tail.size() - 16 > 6) return false;
        seq = std::stoi(tail.substr(16));
        tail = tail.substr(0, 15);
    }
    if (tail.size() != 15 || tail[8] != '-' || !AllDigits(tail.substr(0, 8)) || !AllDigits(tail.substr(9)))
        return false;
    e.fileName = name;
    e.model = stem.substr(0, us);
    e.stamp = tail;
    e.sequence = seq;
    e.when = tail.substr(0, 4) + "-" + tail.substr(4, 2) + "-" + tail.substr(6, 2) + " " + tail.substr(9, 2) + ":" +
             tail.substr(11, 2) + ":" + tail.substr(13, 2);
    return true;
}

std::string SafeModel(const std::string& model) {
    std::string r;
    for (char c : model) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        r += ok ? c : '-';
    }
    return r.empty() ? std::string("radio") : r;
}

}  // namespace

std::string BackupFileName(const std::string& model, const std::tm& t) {
    char buf[64];  // room for any int the compiler cannot rule out
    std::snprintf(buf, sizeof buf, "_%04d%02d%02d-%02d%02d%02d.dat", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return SafeModel(model) + buf;
}

std::vector<BackupEntry> ListBackups(const std::string& folder) {
    std::vector<BackupEntry> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fec;
        if (!it->is_regular_file(fec)) continue;
        BackupEntry e;
        if (!ParseBackupName(it->path().filename().string(), e)) continue;
        e.path = it->path().string();
        out.push_back(std::move(e));
    }
    std::sort(out.begin(), out.end(), [](const BackupEntry& a, const BackupEntry& b) {
        if (a.stamp != b.stamp) return a.stamp > b.stamp;
        if (a.sequence != b.sequence) return a.sequence > b.sequence;
        return a.fileName > b.fileName;
    });
    return out;
}

std::size_t PruneBackups(const std::string& folder, std::size_t keep) {
    const auto list = ListBackups(folder);
    std::size_t removed = 0;
    for (std::size_t i = keep; i < list.size(); ++i) {
        std::error_code ec;
        if (fs::remove(list[i].path, ec)) ++removed;
    }
    return removed;
}

Result SaveReadBackup(const Session& s, const std::string& folder, std::string& savedPath, std::time_t now) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) return Result::Failed("cannot create the backups folder \"" + folder + "\"");
    std::tm t{};
    localtime_r(&now, &t);
    const std::string base = BackupFileName(ModelDisplayName(s.doc.currentModel), t);
    const std::string stem = base.substr(0, base.size() - 4);
    fs::path p = fs::path(folder) / base;
    for (int n = 2; fs::exists(p, ec); ++n) {
        if (n > 999) return Result::Failed("too many backups at the same time");
        p = fs::path(folder) / (stem + "-" + std::to_string(n) + ".dat");
    }
    if (const Result r = WriteDocumentRecordFile(p.string(), s.doc.stored); !r)
        return Result::Failed("cannot write the backup \"" + p.string() + "\": " + r.message());
    savedPath = p.string();
    PruneBackups(folder);
    return Result::Done();
}

}  // namespace zr
