#include "shell/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zr {

namespace fs = std::filesystem;

namespace {

Result Fail(const std::string& path, int err, const char* note = nullptr) {
    std::string m = path + ": " + std::strerror(err);
    if (note) m += std::string(" (") + note + ")";
    return Result::Failed(m);
}

// The file a path names once its symbolic links are followed. A dangling
// link names the file it would create.
bool FollowLinks(const fs::path& start, fs::path& out, int& err) {
    fs::path cur = start;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(cur.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            out = cur;
            return true;
        }
        std::error_code ec;
        const fs::path to = fs::read_symlink(cur, ec);
        if (ec) {
            err = ec.value();
            return false;
        }
        cur = to.is_absolute() ? to : cur.parent_path() / to;
    }
    err = ELOOP;
    return false;
}

bool WriteAll(int fd, const uint8_t* data, std::size_t size, int& err) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        if (n == 0) {
            err = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The temporary file: closed and removed unless it was renamed.
struct TempFile {
    int fd = -1;
    std::string path;
    bool renamed = false;
    ~TempFile() {
        if (fd >= 0) ::close(fd);
        if (!renamed && !path.empty()) ::unlink(path.c_str());
    }
};

}  // namespace

bool FileExistsForWriting(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

Result WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return WriteFileAtomically(
        path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

Result WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    if (path.empty()) return Fail(path, ENOENT);
    fs::path target;
    int err = 0;
    if (!FollowLinks(fs::path(path), target, err)) return Fail(path, err);

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return Fail(path, EISDIR);
        if (!S_ISREG(st.st_mode)) return Fail(path, EINVAL, "not a regular file");
        // access() lets root write anything; a file without any write bit
        // is read-only for everyone, as its owner meant.
        if ((st.st_mode & 0222) == 0) return Fail(path, EACCES, "the file is read-only");
        if (::access(target.c_str(), W_OK) != 0) return Fail(path, errno);
    }

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    TempFile tmp;
    tmp.fd = ::mkstemp(name.data());
    if (tmp.fd < 0) return Fail(path, errno);
    tmp.path = name.data();

    if (!WriteAll(tmp.fd, bytes.data(), bytes.size(), err)) return Fail(path, err);
    if (::fsync(tmp.fd) != 0) return Fail(path, errno);
    if (exists) {
        ::fchmod(tmp.fd, st.st_mode & 07777);
        if (::fchown(tmp.fd, st.st_uid, st.st_gid) != 0) {
            // Only root may give a file away; the content matters more.
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(tmp.fd, 0666 & ~mask);
    }
    const int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0) return Fail(path, errno);
    if (::rename(tmp.path.c_str(), target.c_str()) != 0) return Fail(path, errno);
    tmp.renamed = true;

    // The folder entry must reach the disk too, or a crash can bring back
    // the old name without the new content.
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return Result::Done();
}

}  // namespace zr
