#include "control/settings_notice.h"

#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

void TellSettingNotStored(const Session& s, const Result& stored) {
    if (stored || s.settings.settingNotStoredTold) return;
    s.settings.settingNotStoredTold = true;
    if (s.prompter) s.prompter->tell(stored.message(), Icon::Warning);
}

}  // namespace zr
