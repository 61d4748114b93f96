#pragma once
// A session with its own program folder (language texts copied in, version
// table V100V100) and complete document files written on request.

#include <filesystem>
#include <string>

#include "files/document_record.h"
#include "shell/language.h"
#include "shell/session.h"
#include "support/support.h"

namespace zrtest {

struct FilesFixture {
    TempDir dir;
    ScriptedPrompter prompter;
    zr::Session s;

    FilesFixture() {
        s.paths.programFolder = dir.str("prog");
        s.paths.installRoot = dir.str();
        s.paths.programName = "zrcps";
        std::filesystem::create_directories(dir.path() / "prog" / "language");
        std::filesystem::copy_file(sourceDir() / "install" / "language" / "english.ini",
                                   dir.path() / "prog" / "language" / "english.ini");
        s.settings.versions.pairs = {{"V100", "V100"}};
        s.prompter = &prompter;
        s.doc.stored.ModelBand.ModelId.set("ZR614");
        s.doc.stored.ModelBand.BandCode = 1;
        s.doc.saved = s.doc.stored;
    }

    std::string text(int n) const { return zr::LanguageText(s, n); }
    std::string path(const std::string& name) const { return dir.str(name); }

    // A complete document file with the given changes applied.
    template <class Edit>
    std::string writeFile(const std::string& name, Edit edit) {
        zr::StoredDocument d;
        d.ModelBand.ModelId.set("ZR614");
        d.ModelBand.BandCode = 1;
        d.Channels.count = 1;
        d.Channels.entries[0].ChannelNumber = 5;
        d.Channels.entries[0].RxFreq.set("46212500");
        d.Channels.entries[0].IdCodeLength = 10;
        edit(d);
        auto bytes = zr::SerializeDocumentRecord(d);
        writeBytes(dir.path() / name, {bytes.begin(), bytes.end()});
        return path(name);
    }
    std::string writeFile(const std::string& name) {
        return writeFile(name, [](zr::StoredDocument&) {});
    }
};

}  // namespace zrtest
