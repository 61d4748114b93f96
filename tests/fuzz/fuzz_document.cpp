// The document loader on arbitrary bytes: the record parser, the round trip
// back to bytes, the checked open of a file, the steps after a load, change
// tracking and the readable text of the document.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "files/change_tracking.h"
#include "files/document_file.h"
#include "files/document_record.h"
#include "shell/describe.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace {

// Says No to every question and cancels every dialog.
class RefusingPrompter : public zr::Prompter {
public:
    zr::Answer ask(const zr::Question& q) override {
        return q.buttons == zr::Buttons::Ok ? zr::Answer::Ok : zr::Answer::No;
    }
    std::optional<std::string> chooseFile(const zr::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> askPassword() override { return std::nullopt; }
};

// One scratch file per process, removed when the fuzzer exits.
struct ScratchFile {
    std::string path = "/tmp/fuzz_document_" + std::to_string(::getpid()) + ".dat";
    ~ScratchFile() { std::remove(path.c_str()); }
};

const std::string& scratchFile() {
    static const ScratchFile file;
    return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zr::RecordError err{};
    auto doc = zr::ParseDocumentRecord({data, size}, &err);
    if (doc) {
        // Every accepted record serialises back to exactly its bytes.
        const auto bytes = zr::SerializeDocumentRecord(*doc);
        if (bytes.size() != zr::kDocumentRecordSize || std::memcmp(bytes.data(), data, bytes.size()) != 0)
            std::abort();
    } else if (size >= zr::kDocumentRecordSize && err != zr::RecordError::BadChannelCount) {
        std::abort();
    }

    // The whole open as File Open runs it, on a file with these bytes.
    RefusingPrompter prompter;
    zr::Session s;
    s.prompter = &prompter;
    s.settings.factoryTestMode = size > 0 && (data[0] & 1);
    s.settings.versions.pairs = {{"V100", "V100"}};
    if (FILE* f = std::fopen(scratchFile().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    const zr::StoredDocument before = s.doc.stored;
    const auto result = zr::OpenChecked(s, scratchFile()).result;
    if (result != zr::OpenResult::Opened && !(s.doc.stored == before)) std::abort();
    if (result == zr::OpenResult::Opened && !doc) std::abort();
    (void)zr::IsModified(s);
    const std::string text = zr::DescribeDocument(s);
    if (text.empty()) std::abort();

    // A record loaded straight into the saved copy, without any check.
    if (doc) {
        zr::Session t;
        t.doc.saved = *doc;
        zr::PostLoad(t);
        (void)zr::IsModified(t);
        (void)zr::DescribeDocument(t);
    }
    return 0;
}
