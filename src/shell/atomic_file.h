#pragma once
// The one way the programs write a file: the new content goes to a unique
// temporary file in the target's folder, is flushed to the disk and is then
// renamed over the target. A failure at any step (full disk, no permission,
// crash) leaves the old file exactly as it was and no temporary file behind;
// nothing else in the folder is touched.
//
//   - A symbolic link is written through: the file it points to is replaced
//     and the link stays.
//   - An existing file keeps its permission bits (and, when allowed, its
//     owner); a new file gets 0666 less the umask.
//   - A read-only file, a folder or a device is refused, as the shell's ">"
//     refuses a read-only file, with a message such as
//     "doc.dat: Permission denied (the file is read-only)".

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "shell/result.h"

namespace zr {

Result WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
Result WriteFileAtomically(const std::string& path, std::string_view bytes);

// Whether `path` names an existing file (through a symbolic link too) or a
// symbolic link of any kind; the commands that refuse to replace a file
// without being told (-f) ask this.
bool FileExistsForWriting(const std::string& path);

}  // namespace zr
