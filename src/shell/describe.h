#pragma once
// A readable text of a whole document: model and band, every channel in
// channel order, the FM presets and the radio-wide settings. Used by the
// command-line tool.

#include <string>

namespace zr {

struct Session;

std::string DescribeDocument(const Session& s);

}  // namespace zr
