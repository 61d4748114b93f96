// The rules the transfer engine applies, bound to the program's own codecs,
// model and version checks and change tracking.

#include "files/change_tracking.h"
#include "link/transfer.h"
#include "shell/language.h"
#include "shell/session.h"

namespace zr::link {

LinkServices LinkServices::defaults(Session& s) {
    LinkServices v;
    v.text = [&s](int n) { return LanguageText(s, n); };
    v.isModified = [&s] { return IsModified(s); };
    v.modelMatches = [](const std::string& docModel, const std::string& radioModel, int kind) {
        if (docModel == radioModel) return true;
        return kind != 2 && radioModel == "ZR614";
    };
    v.versionAccepted = [](const std::string& version) { return version == "V100"; };
    return v;
}

}  // namespace zr::link
