#include "platform/shell/texts.h"

#include "shell/language.h"
#include "shell/session.h"

namespace zr {

QString Tx(const Session& s, int number) { return FromBytes(LanguageText(s, number)); }

}  // namespace zr
