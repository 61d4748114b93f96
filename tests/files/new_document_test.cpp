// A new document: defaults, then the init template of the model and band or
// the model's fallback template.

#include <gtest/gtest.h>

#include "data/bands.h"
#include "files/change_tracking.h"
#include "files/document_file.h"
#include "files_fixture.h"
#include "files/new_document.h"
#include "pages/settings_pages.h"
#include "pages/shown_settings.h"

using namespace zr;
using zrtest::FilesFixture;

namespace {

std::string initFile(FilesFixture& f, const std::string& name) {
    std::filesystem::create_directories(f.dir.path() / "prog" / "Init");
    return "prog/Init/" + name;
}

int channelNumber(const Session& s, int i) { return s.doc.stored.Channels.entries[i].ChannelNumber; }

}  // namespace

TEST(NewDocument, WithoutTemplatesTheDefaultsStay) {
    FilesFixture f;
    f.s.doc.currentModel = "OTHER";
    f.s.doc.stored.Channels.count = 0;
    EXPECT_EQ(NewDocument(f.s).result, OpenResult::Opened);
    EXPECT_EQ(f.s.doc.stored.Channels.count, 2);
    EXPECT_EQ(channelNumber(f.s, 0), 129);
    EXPECT_EQ(channelNumber(f.s, 1), 1);
    EXPECT_EQ(f.s.doc.stored.Channels.entries[1].RxFreq.raw(), "46500000");
    EXPECT_EQ(f.s.doc.fileName, "new.dat");
    EXPECT_TRUE(f.s.doc.neverSaved);
    EXPECT_FALSE(IsModified(f.s));
    EXPECT_TRUE(f.prompter.asked.empty());

    // Model ZR614 without an installed fallback: the same, no message.
    FilesFixture g;
    EXPECT_EQ(NewDocument(g.s).result, OpenResult::Opened);
    EXPECT_EQ(g.s.doc.stored.Channels.count, 2);
    EXPECT_TRUE(g.prompter.asked.empty());
}

TEST(NewDocument, TheOwnTemplateReplacesEverything) {
    FilesFixture f;
    f.writeFile(initFile(f, "ZR614_1.dat"), [](StoredDocument& d) {
        d.FormatVersion.set("V000");   // no version check for the own template
        d.ModelBand.BandCode = 8;
        d.Channels.count = 1;
        d.Keys.Pf2Short = 4;
    });
    EXPECT_EQ(NewDocument(f.s).result, OpenResult::Opened);
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_EQ(f.s.doc.stored.Channels.count, 1);
    EXPECT_EQ(channelNumber(f.s, 0), 5);
    EXPECT_EQ(f.s.doc.stored.Keys.Pf2Short, 4);
    EXPECT_EQ(f.s.doc.currentBand, "136 - 174 MHz");
    EXPECT_EQ(f.s.doc.fileName, "new.dat");
    EXPECT_TRUE(f.s.doc.neverSaved);
    EXPECT_FALSE(IsModified(f.s));
}

TEST(NewDocument, TheFallbackTemplateGetsTheCurrentBandAndNewChannels) {
    FilesFixture f;
    f.s.doc.currentBand = "446 - 447 MHz";
    f.writeFile(initFile(f, "ZR614_0.dat"), [](StoredDocument& d) {
        d.ModelBand.BandCode = 8;
        d.Channels.count = 1;
        d.Keys.Pf2Short = 4;
    });
    EXPECT_EQ(NewDocument(f.s).result, OpenResult::Opened);
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_EQ(f.s.doc.stored.ModelBand.BandCode, 4);
    EXPECT_EQ(f.s.doc.currentBand, "446 - 447 MHz");
    ASSERT_EQ(f.s.doc.stored.Channels.count, 2);
    EXPECT_EQ(channelNumber(f.s, 0), 129);
    EXPECT_EQ(channelNumber(f.s, 1), 1);
    EXPECT_EQ(f.s.doc.stored.Channels.entries[1].RxFreq.raw(), "44650000");
    EXPECT_EQ(f.s.doc.stored.Keys.Pf2Short, 4);
    EXPECT_TRUE(f.s.doc.neverSaved);
    EXPECT_FALSE(IsModified(f.s));
}

TEST(NewDocument, ADamagedFallbackTemplateIsReported) {
    FilesFixture f;
    initFile(f, "");
    zrtest::writeBytes(f.dir.path() / "prog/Init/ZR614_0.dat", {'X', '1', '0', '0'});
    const OpenOutcome o = NewDocument(f.s);
    EXPECT_EQ(o.result, OpenResult::Refused);
    EXPECT_EQ(o.message, f.text(9065));
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_EQ(f.s.doc.stored.Channels.count, 2);
    EXPECT_FALSE(IsModified(f.s));

    // A fallback of a version the table does not pair: the new document is
    // ready with the defaults, and the version is the caller's to ask about.
    FilesFixture g;
    g.writeFile(initFile(g, "ZR614_0.dat"), [](StoredDocument& d) { d.FormatVersion.set("V200"); });
    const OpenOutcome other = NewDocument(g.s);
    EXPECT_EQ(other.result, OpenResult::OtherVersion);
    EXPECT_EQ(other.version, "V200");
    EXPECT_TRUE(g.prompter.asked.empty());
    EXPECT_EQ(g.s.doc.stored.Channels.count, 2);
    EXPECT_FALSE(IsModified(g.s));
}

TEST(NewDocument, TheBuiltFallbackTemplateMakesAFreshDocument) {
    // The template the build generates and installs into Init.
    const auto built = zrtest::binaryDir() / "Init" / "ZR614_0.dat";
    ASSERT_TRUE(std::filesystem::exists(built)) << built;
    const auto bytes = zrtest::readBytes(built);
    ASSERT_EQ(bytes.size(), 11037u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "V100");
    EXPECT_EQ(std::string(bytes.begin() + 10444, bytes.begin() + 10451), "ZR614  ");

    FilesFixture f;
    initFile(f, "");
    std::filesystem::copy_file(built, f.dir.path() / "prog/Init/ZR614_0.dat");
    f.s.doc.currentBand = "446 - 447 MHz";
    EXPECT_EQ(NewDocument(f.s).result, OpenResult::Opened);
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_EQ(f.s.doc.stored.ModelBand.BandCode, 4);
    ASSERT_EQ(f.s.doc.stored.Channels.count, 2);
    EXPECT_EQ(f.s.doc.stored.Channels.entries[1].RxFreq.raw(), "44650000");
    EXPECT_FALSE(IsModified(f.s));

    // Up to the settings it holds what a new document without templates holds.
    FilesFixture g;
    g.s.doc.currentBand = "446 - 447 MHz";
    RefreshBandLimits(g.s.doc);
    ASSERT_EQ(NewDocument(g.s).result, OpenResult::Opened);
    const auto a = SerializeDocumentRecord(f.s.doc.stored);
    const auto b = SerializeDocumentRecord(g.s.doc.stored);
    const std::size_t settingsStart = 10453;
    std::size_t at = 0;
    while (at < settingsStart && a[at] == b[at]) ++at;
    EXPECT_EQ(at, settingsStart) << "first difference at offset " << at;

    // Its settings are what the pages show: opening them changes nothing.
    zr::pages::StoreShownSettings(f.s.doc.stored);
    EXPECT_FALSE(IsModified(f.s));
    // Without the template the DTMF page does change a document.
    zr::pages::DtmfPage(g.s.doc.stored, [](int n) { return std::to_string(n); }).open();
    EXPECT_TRUE(IsModified(g.s));
}
