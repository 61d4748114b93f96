#pragma once
// What the settings pages store when they are merely opened: each page's
// load replaces values that fit none of its lists. Used to make documents
// (the init template) that opening a page leaves unchanged.

#include "data/document.h"

namespace zr::pages {

// Opens the option, DTMF, scan, alert and key page rules on doc, so it holds
// what those pages show.
void StoreShownSettings(StoredDocument& doc);

}  // namespace zr::pages
