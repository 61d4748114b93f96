#pragma once
// Reading and writing the document of a Session as a "*.dat" file, and the
// init templates of the folder "Init". Every read goes into the saved copy
// first and reaches the document only when it succeeded; a failed read or
// write leaves the document, its file name and its never-saved flag alone.
// Nothing here talks to the user: what went wrong comes back with its
// message, and a file of a version another program version handles comes
// back with that version, for the caller to ask about switching.

#include <string>

#include "shell/result.h"

namespace zr {

struct Session;

enum class OpenResult {
    Opened,         // the file is now the document
    Refused,        // not a version text (text 9065); nothing changed
    Failed,         // unreadable, short or damaged (text 9002 and the path); nothing changed
    OtherVersion,   // a version this program version does not handle; nothing changed
};

struct OpenOutcome {
    OpenResult result = OpenResult::Opened;
    std::string message;   // Refused, Failed: what the caller tells, as critical
    std::string version;   // OtherVersion: the file's version text ("V102")
};

// Full path of the init template for a model and band code:
// <program folder>/Init/<model>_<code>.dat
std::string InitTemplatePath(const Session& s, const std::string& model, int bandCode);

// The init template of the document's own model and band, without the
// version check. On failure the document keeps its defaults (model and band
// record refreshed, saved copy made again); no message. Returns success.
bool LoadTemplate(Session& s, const std::string& path);

// File Open's read: version check, record, companion test data, PostLoad.
// Showing the opened document is the caller's; this clears the never-saved
// flag and notes the document as replaced.
OpenOutcome OpenChecked(Session& s, const std::string& path);

// As OpenChecked, then the template's version becomes "V100", its channel
// count 0 and its model and band record the document's current one.
OpenOutcome OpenFallbackTemplate(Session& s, const std::string& path);

// Writes the document to its file name (companion test data too in factory
// test mode). On success the saved copy is the document and the never-saved
// flag is cleared; on failure the message is text 9002 and the reason, the
// old file stays intact and the saved copy, the file name and the flag are
// untouched.
Result WriteDocument(Session& s);

// The steps after every successful read: test data working copy from the
// saved copy (factory test mode), saved copy into the document, model and
// band from the loaded record, ID code lengths aligned.
void PostLoad(Session& s);

}  // namespace zr
