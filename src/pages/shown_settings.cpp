#include "pages/shown_settings.h"

#include <string>

#include "pages/opt_features_page.h"
#include "pages/settings_pages.h"

namespace zr::pages {

void StoreShownSettings(StoredDocument& doc) {
    // The list texts do not matter for what gets stored, only their positions.
    const TextFn text = [](int n) { return std::to_string(n); };
    OptFeatPage(doc, text).open();
    DtmfPage(doc, text).open();
    ScanPage(doc, text).open();
    AlertPage(doc, text).open();
    KeyPage(doc, text).open();
}

}  // namespace zr::pages
