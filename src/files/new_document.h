#pragma once
// A new document: the defaults of the data layer, then the init template of
// the folder "Init" when one is installed.

namespace zr {

struct Session;

enum class NewDocumentResult {
    Ready,        // the document holds its new content and counts as unchanged
    EndProgram,   // the fallback template asked to switch program versions
};

// Defaults, then <model>_<band code>.dat loaded silently as the whole
// document; otherwise, for model "ZR614", the fallback template
// "ZR614_0.dat" opened with the full checks, its model and band replaced by
// the current ones and its channels by the new-document channels.
NewDocumentResult NewDocument(Session& s);

}  // namespace zr
