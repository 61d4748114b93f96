#include "files/new_document.h"

#include <filesystem>

#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "files/document_file.h"
#include "shell/session.h"

namespace zr {

NewDocumentResult NewDocument(Session& s) {
    NewDocumentDefaults(s);

    const std::string& model = s.doc.currentModel;
    const std::string own = InitTemplatePath(s, model, s.doc.stored.ModelBand.BandCode);
    std::error_code ec;
    if (std::filesystem::is_regular_file(own, ec)) {
        LoadTemplate(s, own);
        return NewDocumentResult::Ready;
    }
    if (model != kModelId) return NewDocumentResult::Ready;

    // The fallback template serves every band of the model; a missing one
    // is no error, the defaults stay.
    const std::string fallback = InitTemplatePath(s, model, 0);
    if (!std::filesystem::exists(fallback, ec)) return NewDocumentResult::Ready;
    if (OpenFallbackTemplate(s, fallback) == OpenResult::EndProgram)
        return NewDocumentResult::EndProgram;
    NewDocumentChannels(s);
    s.doc.saved = s.doc.stored;
    return NewDocumentResult::Ready;
}

}  // namespace zr
