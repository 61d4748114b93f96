#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "shell/session.h"
#include "shell/version.h"
#include "support/support.h"

namespace {

void Write(const std::filesystem::path& p, const std::string& text) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

struct VersionFixture : ::testing::Test {
    zrtest::TempDir root;
    zrtest::ScriptedPrompter prompter;
    zr::Session s;
    void SetUp() override {
        s.prompter = &prompter;
        s.paths.installRoot = root.str();
        s.paths.programFolder = root.str() + "/V100";
        s.paths.programName = "zrcps";
        Write(root.path() / "V100" / "language" / "english.ini",
              "[Msg]\n9060=Radio:\n9061=Program:\n9062=Switch?\n9063=None handles it.\n9064=Document:\n"
              "9066=Cannot start:\n");
        Write(root.path() / "Version.ini",
              "[Version]\nCurrentVersion=V100\nSoftVersionCount=2\nFirmVersionCount=3\n"
              "[Soft]\nVersion0=V100\nVersion1=V101\n"
              "[Firm]\nFirm0=V100V100\nFirm1=V101V102\nFirm2=V105V102\n");
        zr::LoadVersionTable(s);
    }
};

}  // namespace

TEST(VersionText, Form) {
    EXPECT_TRUE(zr::IsVersionText("V100"));
    EXPECT_TRUE(zr::IsVersionText("V100   "));
    EXPECT_TRUE(zr::IsVersionText(std::string("V123\0xy", 7)));
    EXPECT_FALSE(zr::IsVersionText("v100"));
    EXPECT_FALSE(zr::IsVersionText("V10"));
    EXPECT_FALSE(zr::IsVersionText("V1A0"));
    EXPECT_FALSE(zr::IsVersionText(" V100"));
    EXPECT_EQ(zr::ShownVersion("V102"), "V1.02");
}

TEST_F(VersionFixture, TablePairsAndLookups) {
    const auto& t = s.settings.versions;
    EXPECT_EQ(t.currentVersion, "V100");
    EXPECT_EQ(t.softVersions.size(), 2u);
    ASSERT_EQ(t.pairs.size(), 3u);
    EXPECT_TRUE(zr::VersionPairListed(s, "V100", "V100"));
    EXPECT_FALSE(zr::VersionPairListed(s, "V100", "V102"));
    EXPECT_EQ(zr::ProgramVersionFor(s, "V102"), "V101");  // the lower key wins
    EXPECT_EQ(zr::ProgramVersionFor(s, "V103"), "");
}

TEST_F(VersionFixture, QuestionText) {
    EXPECT_EQ(zr::VersionQuestion(s, "V100", "V102", 1), "Switch?\r\nDocument: V1.02\r\nProgram: V1.00");
    EXPECT_EQ(zr::VersionQuestion(s, "V100", "V102", 0), "Switch?\r\nRadio: V1.02\r\nProgram: V1.00");
    EXPECT_EQ(zr::VersionQuestion(s, "V100", "V102", 5), "Switch?V1.02\r\nProgram: V1.00");
}

TEST_F(VersionFixture, MissingOrDamagedTableFallsBackToOwnVersion) {
    std::filesystem::remove(root.path() / "Version.ini");
    auto t = zr::LoadVersionTable(root.str());
    ASSERT_EQ(t.pairs.size(), 1u);
    EXPECT_EQ(t.pairs[0], (std::pair<std::string, std::string>{"V100", "V100"}));

    Write(root.path() / "Version.ini", "[Version]\nFirmVersionCount=abc\n[Firm]\nFirm0=V101V101\n");
    EXPECT_EQ(zr::LoadVersionTable(root.str()).pairs.size(), 1u);
    EXPECT_EQ(zr::LoadVersionTable(root.str()).pairs[0].first, "V100");

    // Short entries pair nothing; the well-formed ones stay.
    Write(root.path() / "Version.ini", "[Version]\nFirmVersionCount=3\n[Firm]\nFirm0=V1\nFirm2=V107V108  \n");
    t = zr::LoadVersionTable(root.str());
    ASSERT_EQ(t.pairs.size(), 1u);
    EXPECT_EQ(t.pairs[0].second, "V108");
}

TEST_F(VersionFixture, StartingAnotherVersion) {
    // The start tells no one: what went wrong comes back to the caller.
    s.prompter = nullptr;

    // No program version for V103: text 9063, plainly.
    zr::ProgramStart started = zr::StartProgramVersion(s, "V103");
    EXPECT_FALSE(started.result);
    EXPECT_EQ(started.result.message(), "None handles it.");
    EXPECT_EQ(started.icon, zr::Icon::None);

    EXPECT_EQ(zr::ProgramVersionPath(s, "V101"), root.str() + "/V101/zrcps");
    s.paths.programName = "zrcps.exe";
    EXPECT_EQ(zr::ProgramVersionPath(s, "V101"), root.str() + "/V101/zrcps");

    // The program file is missing: text 9066 with its path, critical.
    started = zr::StartProgramVersion(s, "V102");
    EXPECT_FALSE(started.result);
    EXPECT_EQ(started.result.message(), "Cannot start:\r\n" + root.str() + "/V101/zrcps");
    EXPECT_EQ(started.icon, zr::Icon::Critical);

    // There but not a program this user may run: the same.
    const auto program = root.path() / "V101" / "zrcps";
    const auto mark = root.path() / "started";
    Write(program, "#!/bin/sh\ntouch '" + mark.string() + "'\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(zr::StartProgramVersion(s, "V102").result.message(), "Cannot start:\r\n" + program.string());

    // A program that is there is started and leaves a mark.
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    started = zr::StartProgramVersion(s, "V102");
    EXPECT_TRUE(started.result) << started.result.message();
    EXPECT_TRUE(started.result.message().empty());
    for (int i = 0; i < 100 && !std::filesystem::exists(mark); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(std::filesystem::exists(mark));
}
