#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/ini_file.h"
#include "shell/session.h"
#include "shell/settings_files.h"
#include "shell/startup.h"
#include "support/support.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

struct StartupFixture : ::testing::Test {
    zrtest::TempDir dir;
    zrtest::ScriptedPrompter prompter;
    zr::Session s;
    fs::path root, program, mysetup;
    int builds = 0;
    void SetUp() override {
        root = dir.path() / "Tools";
        program = root / "V100";
        mysetup = root / "language" / "mysetup.ini";
        Write(program / "language" / "english.ini", "[Main]\n12000=  Test Title \n");
        s.prompter = &prompter;
    }
    void start() {
        zr::StartupSteps steps;
        steps.buildDocument = [this](zr::Session& x) {
            ++builds;
            x.doc.fileName = "elsewhere.dat";
        };
        zr::Startup(s, (program / "zrcps").string(), steps);
    }
    std::string key(const char* k) { return zr::ReadProfileString(mysetup.string(), "language", k, "<none>"); }
};

}  // namespace

TEST(ProgramFolders, RootIsTheParentOfTheProgramFolder) {
    auto p = zr::PathsFromExecutable("/C/Tools/V100/zrcps");
    EXPECT_EQ(p.programFolder, "/C/Tools/V100");
    EXPECT_EQ(p.installRoot, "/C/Tools");
    EXPECT_EQ(p.programName, "zrcps");
    p = zr::PathsFromExecutable("C:\\Tools\\V100\\ZRCPS.exe");
    EXPECT_EQ(p.programFolder, "C:\\Tools\\V100");
    EXPECT_EQ(p.installRoot, "C:\\Tools");
    EXPECT_EQ(p.programName, "ZRCPS.exe");
    EXPECT_EQ(zr::InstallRootOf("/V100"), "/V100");
    EXPECT_EQ(zr::InstallRootOf("V100"), "V100");
    EXPECT_EQ(zr::PathsFromExecutable("zrcps").programFolder, ".");
}

TEST_F(StartupFixture, FirstStartRecordsItselfAndKeepsThePort) {
    Write(mysetup, "[language]\r\nIsFirstRun=1\r\ncomPort=4\r\nHandshaking=2\r\nStopBit=1\r\nCurrentLanguage=2\r\n");
    start();
    EXPECT_TRUE(s.settings.IsFirstRun);
    EXPECT_EQ(s.settings.comPort, 4);
    EXPECT_EQ(s.settings.Handshaking, 2);
    EXPECT_EQ(s.settings.StopBit, 1);
    EXPECT_EQ(key("IsFirstRun"), "0");
    EXPECT_EQ(key("comPort"), "4");
    EXPECT_EQ(key("CurrentLanguage"), "1");
    EXPECT_EQ(key("Handshaking"), "2");

    EXPECT_EQ(s.paths.installRoot, root.string());
    EXPECT_EQ(s.settings.CurrentLanguage, 1);
    EXPECT_EQ(s.settings.languageFile, "english.ini");
    EXPECT_EQ(s.settings.helpFile, "ZR_E271_E.chm");
    EXPECT_EQ(s.settings.programTitle, "Test Title");
    EXPECT_TRUE(s.settings.CableEcho);
    EXPECT_EQ(s.doc.currentModel, "ZR614");
    EXPECT_EQ(s.doc.currentBand, "460 - 470 MHz");
    EXPECT_DOUBLE_EQ(s.doc.bandLower, 460.0);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(s.doc.fileName, "new.dat");
    EXPECT_TRUE(s.doc.neverSaved);
    EXPECT_EQ(s.settings.versions.pairs.size(), 1u);  // no Version.ini: V100V100
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupFixture, LaterStartRewritesLanguageOne) {
    Write(mysetup, "[language]\nIsFirstRun=0\ncomPort=3\nHandshaking=0\nStopBit=0\nCurrentLanguage=2\n");
    start();
    EXPECT_FALSE(s.settings.IsFirstRun);
    EXPECT_EQ(s.settings.CurrentLanguage, 1);
    EXPECT_EQ(key("CurrentLanguage"), "1");
    EXPECT_EQ(key("IsFirstRun"), "0");
    EXPECT_EQ(key("comPort"), "3");
}

TEST_F(StartupFixture, MissingOrDamagedSetupStartsWithDefaultsAndRepairsTheFile) {
    start();
    EXPECT_EQ(s.settings.comPort, 1);
    EXPECT_EQ(s.settings.Handshaking, 0);
    EXPECT_EQ(s.settings.StopBit, 0);
    for (const char* k : {"IsFirstRun", "Handshaking", "StopBit", "CurrentLanguage"})
        EXPECT_EQ(key(k), k == std::string("CurrentLanguage") ? "1" : "0") << k;
    EXPECT_EQ(key("comPort"), "1");

    Write(mysetup, "[language]\nIsFirstRun=yes\ncomPort=abc\nStopBit=-4\n\x01\xff garbage\n");
    zr::Session again;
    again.paths = s.paths;
    zr::LoadMySetup(again);
    EXPECT_EQ(again.settings.comPort, 1);
    EXPECT_EQ(again.settings.StopBit, 0);
    EXPECT_EQ(key("comPort"), "1");
    EXPECT_EQ(key("StopBit"), "0");
    EXPECT_EQ(key("Handshaking"), "0");
    EXPECT_EQ(key("IsFirstRun"), "0");

    // Ports above 255 (devices other than ttyS, ttyUSB, ttyACM) are kept;
    // what no 16-bit port number can be is not.
    Write(mysetup, "[language]\nIsFirstRun=0\ncomPort=999\nHandshaking=1\nStopBit=1\n");
    zr::LoadMySetup(again);
    EXPECT_EQ(again.settings.comPort, 999);
    EXPECT_EQ(key("comPort"), "999");
    EXPECT_EQ(again.settings.Handshaking, 1);
    Write(mysetup, "[language]\nIsFirstRun=0\ncomPort=40000\nHandshaking=1\nStopBit=1\n");
    zr::LoadMySetup(again);
    EXPECT_EQ(again.settings.comPort, 1);
}

TEST_F(StartupFixture, BinarySettingsFilesMissingShortOrUnreadable) {
    Write(mysetup, "[language]\nIsFirstRun=0\ncomPort=1\nHandshaking=0\nStopBit=0\n");
    start();
    EXPECT_TRUE(fs::exists(program / "Setting.ini"));
    EXPECT_TRUE(fs::exists(program / "BatchFun.ini"));
    EXPECT_TRUE(fs::exists(program / "Habit.ini"));
    EXPECT_EQ(fs::file_size(program / "Setting.ini"), 0u);
    EXPECT_EQ(s.settings.capabilityFlags, (std::array<uint8_t, 4>{}));
    EXPECT_FALSE(zr::DtmfOffered(s.settings));
    zr::ExitBookkeeping(s);
    EXPECT_EQ(zrtest::readBytes(program / "Setting.ini"), (std::vector<unsigned char>{0, 0, 0, 0}));

    zrtest::writeBytes(program / "BatchFun.ini", {1, 0, 1});
    zr::LoadCapabilityAndBatchFlags(s);
    EXPECT_EQ(s.settings.batchFlags[0], 1);
    EXPECT_EQ(s.settings.batchFlags[1], 0);
    EXPECT_EQ(s.settings.batchFlags[2], 1);
    EXPECT_EQ(s.settings.batchFlags[3], 0);

    // A Setting.ini that cannot be read: capabilities 0, batch flags all 1.
    fs::remove(program / "Setting.ini");
    fs::create_directory(program / "Setting.ini");
    s.settings.capabilityFlags = {1, 1, 1, 1};
    zr::LoadCapabilityAndBatchFlags(s);
    EXPECT_EQ(s.settings.capabilityFlags, (std::array<uint8_t, 4>{}));
    for (uint8_t b : s.settings.batchFlags) EXPECT_EQ(b, 1);
    // Its write at exit fails and says which file; telling it is the caller's.
    prompter.asked.clear();
    const zr::Result exited = zr::ExitBookkeeping(s);
    EXPECT_TRUE(fs::is_directory(program / "Setting.ini"));
    EXPECT_FALSE(exited);
    EXPECT_TRUE(exited.message().ends_with("\n" + (program / "Setting.ini").string())) << exited.message();
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupFixture, HabitsFileLayout) {
    s.paths = zr::PathsFromExecutable((program / "zrcps").string());
    fs::create_directories(program);
    // A missing file is created empty and every habit reads false.
    s.settings.habits = {true, true, true, true, true};
    zr::LoadHabits(s);
    EXPECT_EQ(s.settings.habits, zr::EditingHabits{});
    ASSERT_TRUE(fs::exists(program / "Habit.ini"));
    EXPECT_EQ(fs::file_size(program / "Habit.ini"), 0u);

    zrtest::writeBytes(program / "Habit.ini", {0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0});
    zr::LoadHabits(s);
    const auto& h = s.settings.habits;
    EXPECT_TRUE(h.PasteNoAsk);
    EXPECT_FALSE(h.PasteInsert);
    EXPECT_FALSE(h.DeleteNoAsk);
    EXPECT_TRUE(h.DeleteRemove);
    EXPECT_FALSE(h.UseOffset);

    zrtest::writeBytes(program / "Habit.ini", {0xFF, 0xFF, 0xFF});  // one habit covered
    zr::LoadHabits(s);
    EXPECT_TRUE(h.PasteNoAsk);
    EXPECT_FALSE(h.PasteInsert);
    EXPECT_FALSE(h.DeleteRemove);

    s.settings.habits = {false, true, false, false, true};
    ASSERT_TRUE(zr::SaveHabits(s));
    EXPECT_EQ(zrtest::readBytes(program / "Habit.ini"),
              (std::vector<unsigned char>{0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF}));
    s.settings.habits = {};
    zr::LoadHabits(s);
    EXPECT_TRUE(s.settings.habits.PasteInsert);
    EXPECT_TRUE(s.settings.habits.UseOffset);

    // A folder that is gone makes the save fail, with the file it is about.
    s.paths.programFolder = (program / "missing").string();
    const zr::Result saved = zr::SaveHabits(s);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.message().ends_with("\n" + (program / "missing" / "Habit.ini").string())) << saved.message();
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupFixture, CapabilitySeenOnceSurvivesARestart) {
    start();
    zr::ApplyCapabilityByte(s.settings, 0x01);
    zr::ExitBookkeeping(s);
    zr::Session next;
    zr::Startup(next, (program / "zrcps").string(), [](zr::Session&) {});
    EXPECT_TRUE(zr::DtmfOffered(next.settings));
    EXPECT_EQ(zrtest::readBytes(program / "Setting.ini"), (std::vector<unsigned char>{0, 0, 0, 1}));
}

TEST(CapabilityFlags, StickyOnceSeen) {
    zr::RunSettings r;
    zr::ApplyCapabilityByte(r, 0x01);
    EXPECT_EQ(r.capabilityFlags, (std::array<uint8_t, 4>{0, 0, 0, 1}));
    EXPECT_TRUE(zr::DtmfOffered(r));
    zr::ApplyCapabilityByte(r, 0x00);
    EXPECT_TRUE(zr::DtmfOffered(r));
    zr::ApplyCapabilityByte(r, 0x0A);
    EXPECT_EQ(r.capabilityFlags, (std::array<uint8_t, 4>{1, 0, 1, 1}));
    zr::ApplyCapabilityByte(r, 0xF0);  // bits above 3 mean nothing
    EXPECT_EQ(r.capabilityFlags, (std::array<uint8_t, 4>{1, 0, 1, 1}));
}

TEST_F(StartupFixture, ASetupFileThatCannotBeWrittenIsReturnedAndTheStartGoesOn) {
    fs::create_directories(mysetup);   // a folder where the file should be
    prompter.answers = {zr::Answer::Ok};
    zr::StartupSteps steps;
    steps.buildDocument = [this](zr::Session&) { ++builds; };
    const zr::Result started = zr::Startup(s, (program / "zrcps").string(), steps);
    EXPECT_FALSE(started);
    EXPECT_TRUE(started.message().ends_with("\n" + mysetup.string())) << started.message();
    EXPECT_TRUE(prompter.asked.empty());   // the caller tells it
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(s.settings.comPort, 1);
    EXPECT_EQ(s.settings.programTitle, "Test Title");
}
