// The rules the transfer engine applies, bound to the program's own codecs,
// model and version checks and change tracking.

#include "data/bands.h"
#include "data/image_codec.h"
#include "data/radio_info.h"
#include "data/settings_codec.h"
#include "files/change_tracking.h"
#include "link/transfer.h"
#include "shell/language.h"
#include "shell/session.h"
#include "shell/version.h"

namespace zr::link {

LinkServices LinkServices::defaults(Session& s) {
    LinkServices v;
    v.text = [&s](int n) { return LanguageText(s, n); };
    v.encodeImage = [](RadioDocument& d) { EncodeImage(d); };
    v.decodeImage = [&s](RadioDocument& d) {
        DecodeImage(d, s.settings.capabilityFlags);
        AlignIdCodeLengths(s);
    };
    v.decodeDealerInfo = [](RadioDocument& d) { DecodeRadioInfo(d.rmgImage, d.radioInfo); };
    v.takeRadioFlags = [](Session& ss, uint8_t flags) {
        RadioImage img{};
        img[kRadioFlagsOffset] = flags;
        TakeRadioFlags(img, ss.doc.radioFlags, ss.settings.capabilityFlags);
    };
    v.modelMatches = [](const std::string& docModel, const std::string& radioModel, int kind) {
        return ModelMatches(docModel, radioModel, kind);
    };
    v.versionAccepted = [&s](const std::string& version) {
        return VersionPairListed(s, kProgramVersion, version);
    };
    v.versionQuestion = [&s](const std::string& version) {
        return VersionQuestion(s, kProgramVersion, version, 0);
    };
    v.startProgramVersion = [&s](const std::string& version) { return StartProgramVersion(s, version); };
    v.isModified = [&s] { return IsModified(s); };
    return v;
}

}  // namespace zr::link
