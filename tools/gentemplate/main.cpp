// zr-gentemplate: writes an init template, a new document of the program's
// model on a band, made by the same rules as File New (without any template).
//
//   zr-gentemplate OUTPUT [BAND_CODE]     (band code 0 when omitted)

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "files/document_record.h"
#include "pages/shown_settings.h"
#include "shell/session.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: zr-gentemplate OUTPUT [BAND_CODE]\n");
        return 2;
    }
    int code = 0;
    if (argc == 3) {
        std::string_view arg = argv[2];
        auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), code);
        if (ec != std::errc() || end != arg.data() + arg.size() || zr::BandText(code).empty()) {
            std::fprintf(stderr, "zr-gentemplate: \"%s\" is not a band code\n", argv[2]);
            return 2;
        }
    }
    zr::Session s;
    s.doc.currentModel = zr::kModelId;
    s.doc.currentBand = zr::BandText(code);
    zr::RefreshBandLimits(s.doc);
    // A fixed date: the template's content must not depend on the build day
    // (the dates live in the radio information, which the file does not hold).
    zr::NewDocumentDefaults(s, zr::CivilDate{2000, 1, 1});
    // Opening a settings page stores what it shows, and some defaults (a DTMF
    // rate of 0, for one) lie outside a page's list. The template holds what
    // the pages show, so a new document still counts as unchanged after a
    // page was merely opened.
    zr::pages::StoreShownSettings(s.doc.stored);

    if (const zr::Result r = zr::WriteDocumentRecordFile(argv[1], s.doc.stored); !r) {
        std::fprintf(stderr, "zr-gentemplate: cannot write %s: %s\n", argv[1], r.message().c_str());
        return 1;
    }
    return 0;
}
