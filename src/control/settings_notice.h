#pragma once
// Telling the user that a settings file could not be written: the first
// failure of a run is told, with the warning icon, through the session's
// prompter; later failures of the same run are not told again.

#include "shell/result.h"

namespace zr {

struct Session;

// Tells `stored` when it failed and nothing was told in this run yet.
void TellSettingNotStored(const Session& s, const Result& stored);

}  // namespace zr
