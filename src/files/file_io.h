#pragma once
// Reading the head of a file, and replacing it without ever leaving the file
// half written.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "shell/result.h"

namespace zr {

// Writes `head` as the first bytes of the file `path`, creating the file when
// it does not exist; bytes of an existing file beyond head.size() are kept.
// The whole file is written through WriteFileAtomically (shell/atomic_file.h):
// a failure leaves the old file as it was, a symbolic link is written
// through, a read-only file is refused. A failure carries its reason.
Result ReplaceFileHead(const std::string& path, std::span<const uint8_t> head);

// Up to `maxBytes` bytes from the start of a file (fewer when the file is
// shorter), or false when it cannot be opened or read.
bool ReadFileHead(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>& out);

}  // namespace zr
