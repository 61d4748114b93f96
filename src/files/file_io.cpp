#include "files/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zr {

namespace fs = std::filesystem;

namespace {

void setError(std::string* error, const std::string& what, int err) {
    if (error) *error = what + ": " + std::strerror(err);
}

// Closes a descriptor and removes the temporary file unless released.
struct TempFile {
    int fd = -1;
    std::string path;
    bool keep = false;
    ~TempFile() {
        if (fd >= 0) ::close(fd);
        if (!keep && !path.empty()) ::unlink(path.c_str());
    }
};

bool writeAll(int fd, const uint8_t* data, std::size_t size, int& err) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
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

// The folder's entry must reach the disk too, or a crash after the rename can
// still bring back the old name without the new content.
void syncFolder(const fs::path& folder) {
    int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

}  // namespace

bool ReadFileHead(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    out.resize(maxBytes);
    std::size_t got = std::fread(out.data(), 1, maxBytes, f);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    out.resize(got);
    return !failed;
}

bool ReplaceFileHead(const std::string& path, std::span<const uint8_t> head, std::string* error) {
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    if (fs::is_directory(target, ec)) {
        setError(error, path, EISDIR);
        return false;
    }
    const fs::path folder = target.parent_path();

    // What the old file has beyond the new head is carried over, and so are
    // its permission bits.
    std::vector<uint8_t> tail;
    mode_t mode = 0666;
    bool exists = false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        exists = true;
        mode = st.st_mode & 07777;
        if (static_cast<std::size_t>(st.st_size) > head.size()) {
            std::vector<uint8_t> all;
            if (!ReadFileHead(target.string(), static_cast<std::size_t>(st.st_size), all)) {
                setError(error, path + " (reading the existing file)", errno ? errno : EIO);
                return false;
            }
            if (all.size() > head.size())
                tail.assign(all.begin() + static_cast<std::ptrdiff_t>(head.size()), all.end());
        }
    }

    TempFile tmp;
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    tmp.fd = ::mkstemp(name.data());
    if (tmp.fd < 0) {
        setError(error, path, errno);
        return false;
    }
    tmp.path = name.data();

    int err = 0;
    if (!writeAll(tmp.fd, head.data(), head.size(), err) ||
        !writeAll(tmp.fd, tail.data(), tail.size(), err)) {
        setError(error, path, err);
        return false;
    }
    if (::fsync(tmp.fd) != 0) {
        setError(error, path, errno);
        return false;
    }
    // A new file gets the usual permissions (umask applied); an old file
    // keeps its own.
    if (!exists) {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(tmp.fd, mode);
    int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0) {
        setError(error, path, errno);
        return false;
    }
    if (::rename(tmp.path.c_str(), target.c_str()) != 0) {
        setError(error, path, errno);
        return false;
    }
    tmp.keep = true;
    syncFolder(folder);
    return true;
}

}  // namespace zr
