#include "files/new_document.h"

#include <filesystem>

#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "files/document_file.h"
#include "shell/session.h"

namespace zr {

OpenOutcome NewDocument(Session& s) {
    NewDocumentDefaults(s);

    const std::string& model = s.doc.currentModel;
    const std::string own = InitTemplatePath(s, model, s.doc.stored.ModelBand.BandCode);
    std::error_code ec;
    if (std::filesystem::is_regular_file(own, ec)) {
        LoadTemplate(s, own);
        return {};
    }
    if (model != kModelId) return {};

    // The fallback template serves every band of the model; a missing one
    // is no error, the defaults stay.
    const std::string fallback = InitTemplatePath(s, model, 0);
    if (!std::filesystem::exists(fallback, ec)) return {};
    OpenOutcome opened = OpenFallbackTemplate(s, fallback);
    NewDocumentChannels(s);
    s.doc.saved = s.doc.stored;
    return opened;
}

}  // namespace zr
