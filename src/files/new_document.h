#pragma once
// A new document: the defaults of the data layer, then the init template of
// the folder "Init" when one is installed.

#include "files/document_file.h"

namespace zr {

struct Session;

// Defaults, then <model>_<band code>.dat loaded silently as the whole
// document; otherwise, for model "ZR614", the fallback template
// "ZR614_0.dat" opened with the full checks, its model and band replaced by
// the current ones and its channels by the new-document channels. The
// document is always ready afterwards, unchanged; the outcome is the
// fallback template's open (Opened when none was opened): a message for
// the caller to tell, or a version for it to offer the switch to.
OpenOutcome NewDocument(Session& s);

}  // namespace zr
