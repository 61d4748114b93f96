#include "files/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "shell/atomic_file.h"

namespace zr {

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

Result ReplaceFileHead(const std::string& path, std::span<const uint8_t> head) {
    // What the old file has beyond the new head is carried over.
    std::vector<uint8_t> bytes;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) > head.size()) {
        if (!ReadFileHead(path, static_cast<std::size_t>(st.st_size), bytes))
            return Result::Failed(path + ": " + std::strerror(errno ? errno : EIO));
    }
    if (bytes.size() < head.size()) bytes.resize(head.size());
    std::copy(head.begin(), head.end(), bytes.begin());
    return WriteFileAtomically(path, bytes);
}

}  // namespace zr
