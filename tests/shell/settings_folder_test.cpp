// Where the settings files live: beside a program the user can write, in the
// user's configuration folder for an installation shared by all users.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "factory/test_data.h"
#include "control/settings_notice.h"
#include "shell/ini_file.h"
#include "shell/session.h"
#include "shell/settings_files.h"
#include "support/support.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

// Sets an environment variable for the scope, restoring the old value.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvVar() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// An installation in <tmp>/usr-like/lib/zrcps used by users whose settings
// folders are <tmp>/home-N/.config/zrcps.
struct SharedInstall : ::testing::Test {
    zrtest::TempDir dir;
    zrtest::ScriptedPrompter prompter;
    fs::path root, program;

    void SetUp() override {
        root = dir.path() / "lib" / "zrcps";
        program = root / "V100";
        Write(program / "language" / "english.ini", "[Msg]\n9067=Not stored:\n");
        Write(root / "language" / "mysetup.ini",
              "[language]\nIsFirstRun=1\ncomPort=3\nHandshaking=0\nStopBit=0\nCurrentLanguage=1\n");
    }
    fs::path userFolder(int user) const { return dir.path() / ("home-" + std::to_string(user)) / ".config/zrcps"; }
    zr::Session session(int user) {
        zr::Session s;
        s.paths.programFolder = program.string();
        s.paths.installRoot = root.string();
        s.paths.programName = "zrcps";
        s.paths.userSettingsFolder = userFolder(user).string();
        s.prompter = &prompter;
        return s;
    }
    // What start-up does with the settings files; the first write that
    // failed, told as the program tells it.
    zr::Result start(zr::Session& s) {
        zr::SeedUserSettings(s);
        const zr::Result stored = zr::LoadMySetup(s);
        zr::LoadCapabilityAndBatchFlags(s);
        zr::LoadHabits(s);
        zr::TellSettingNotStored(s, stored);
        return stored;
    }
    std::string installedKey(const char* key) const {
        return zr::ReadProfileString((root / "language/mysetup.ini").string(), "language", key);
    }
};

}  // namespace

TEST(SettingsFolder, SharedWhenTheProgramFolderIsNotWritableOrUnderUsr) {
    EXPECT_FALSE(zr::SettingsKeptPerUser("/home/ann/zrcps/inst/lib/zrcps/V100", true));
    EXPECT_TRUE(zr::SettingsKeptPerUser("/home/ann/zrcps/inst/lib/zrcps/V100", false));
    EXPECT_TRUE(zr::SettingsKeptPerUser("/usr/lib/zrcps/V100", true));  // root running the package
    EXPECT_TRUE(zr::SettingsKeptPerUser("/usr/local/lib/zrcps/V100", true));
    EXPECT_TRUE(zr::SettingsKeptPerUser("/usr", true));
    EXPECT_FALSE(zr::SettingsKeptPerUser("/usrdata/zrcps/V100", true));
    EXPECT_FALSE(zr::SettingsKeptPerUser("/opt/zrcps/V100", true));

    zrtest::TempDir dir;
    zr::ProgramPaths p;
    p.programFolder = dir.str();
    p.userSettingsFolder = "stale";
    zr::ChooseSettingsFolder(p, "/home/ann/.config/zrcps");
    EXPECT_EQ(p.userSettingsFolder, "");  // a folder we can write: beside the program
    p.programFolder = dir.str("not-there");
    zr::ChooseSettingsFolder(p, "/home/ann/.config/zrcps");
    EXPECT_EQ(p.userSettingsFolder, "/home/ann/.config/zrcps");
}

TEST(SettingsFolder, UserFolderFollowsXdgConfigHomeThenHome) {
    {
        EnvVar xdg("XDG_CONFIG_HOME", "/srv/cfg");
        EnvVar home("HOME", "/home/ann");
        EXPECT_EQ(zr::UserConfigFolderFromEnvironment(), "/srv/cfg/zrcps");
    }
    {
        EnvVar xdg("XDG_CONFIG_HOME", "relative/cfg");  // not absolute: ignored, as the XDG rule says
        EnvVar home("HOME", "/home/ann");
        EXPECT_EQ(zr::UserConfigFolderFromEnvironment(), "/home/ann/.config/zrcps");
    }
    {
        EnvVar xdg("XDG_CONFIG_HOME", nullptr);
        EnvVar home("HOME", nullptr);
        EXPECT_EQ(zr::UserConfigFolderFromEnvironment(), "");
    }
}

TEST(SettingsFolder, BesideTheProgramWhenNoUserFolderIsSet) {
    zr::Session s;
    s.paths.programFolder = "/x/inst/lib/zrcps/V100";
    s.paths.installRoot = "/x/inst/lib/zrcps";
    EXPECT_EQ(zr::MySetupPath(s), "/x/inst/lib/zrcps/language/mysetup.ini");
    EXPECT_EQ(zr::SettingFilePath(s), "/x/inst/lib/zrcps/V100/Setting.ini");
    EXPECT_EQ(zr::BatchFilePath(s), "/x/inst/lib/zrcps/V100/BatchFun.ini");
    EXPECT_EQ(zr::HabitFilePath(s), "/x/inst/lib/zrcps/V100/Habit.ini");
    s.paths.userSettingsFolder = "/home/ann/.config/zrcps";
    EXPECT_EQ(zr::MySetupPath(s), "/home/ann/.config/zrcps/mysetup.ini");
    EXPECT_EQ(zr::SettingFilePath(s), "/home/ann/.config/zrcps/Setting.ini");
    EXPECT_EQ(zr::BatchFilePath(s), "/home/ann/.config/zrcps/BatchFun.ini");
    EXPECT_EQ(zr::HabitFilePath(s), "/home/ann/.config/zrcps/Habit.ini");
}

TEST_F(SharedInstall, FirstUseSeedsFromTheInstallationAndWritesOnlyTheUsersFiles) {
    // Defaults shipped beside the program; read-only, as a package installs them.
    zrtest::writeBytes(program / "Habit.ini", {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0});
    fs::permissions(root / "language/mysetup.ini", fs::perms::owner_read | fs::perms::group_read);

    zr::Session ann = session(1);
    start(ann);
    EXPECT_TRUE(ann.settings.IsFirstRun);  // the first start of this user
    EXPECT_EQ(ann.settings.comPort, 3);    // the installed default
    EXPECT_TRUE(ann.settings.habits.PasteNoAsk);
    const fs::path own = userFolder(1);
    EXPECT_EQ(zr::ReadProfileString((own / "mysetup.ini").string(), "language", "IsFirstRun"), "0");
    EXPECT_TRUE(fs::exists(own / "Setting.ini"));
    EXPECT_TRUE(fs::exists(own / "BatchFun.ini"));
    EXPECT_EQ(zrtest::readBytes(own / "Habit.ini").size(), 10u);
    EXPECT_NE(fs::status(own / "mysetup.ini").permissions() & fs::perms::owner_write, fs::perms::none);

    ann.settings.comPort = 5;
    ASSERT_TRUE(zr::WriteSetupKey(ann, "comPort", "5"));
    ann.settings.capabilityFlags = {0, 0, 0, 1};
    ann.settings.habits.PasteNoAsk = false;
    ASSERT_TRUE(zr::SaveCapabilityFlags(ann));
    ASSERT_TRUE(zr::SaveHabits(ann));

    // Nothing of the installation changed.
    EXPECT_EQ(installedKey("IsFirstRun"), "1");
    EXPECT_EQ(installedKey("comPort"), "3");
    EXPECT_EQ(zrtest::readBytes(program / "Habit.ini")[0], 0xFF);
    EXPECT_FALSE(fs::exists(program / "Setting.ini"));
    EXPECT_FALSE(fs::exists(program / "BatchFun.ini"));

    // A later start keeps the user's own files rather than seeding again.
    zr::Session annAgain = session(1);
    start(annAgain);
    EXPECT_FALSE(annAgain.settings.IsFirstRun);
    EXPECT_EQ(annAgain.settings.comPort, 5);
    EXPECT_TRUE(zr::DtmfOffered(annAgain.settings));
    EXPECT_FALSE(annAgain.settings.habits.PasteNoAsk);

    // Another user starts from the installed defaults, not from Ann's.
    zr::Session bob = session(2);
    start(bob);
    EXPECT_TRUE(bob.settings.IsFirstRun);
    EXPECT_EQ(bob.settings.comPort, 3);
    EXPECT_FALSE(zr::DtmfOffered(bob.settings));
    EXPECT_TRUE(bob.settings.habits.PasteNoAsk);
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(SharedInstall, WithoutInstalledDefaultsTheUsersFilesStartEmpty) {
    fs::remove(root / "language/mysetup.ini");
    zr::Session ann = session(1);
    start(ann);
    EXPECT_EQ(ann.settings.comPort, 1);
    EXPECT_EQ(zr::ReadProfileString(zr::MySetupPath(ann), "language", "comPort"), "1");
    EXPECT_EQ(fs::file_size(userFolder(1) / "Habit.ini"), 0u);
    EXPECT_FALSE(fs::exists(root / "language/mysetup.ini"));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(SharedInstall, ASettingThatCannotBeStoredIsToldOnce) {
    // The user's folder cannot be made: a file stands where it should be.
    Write(dir.path() / "home-1", "not a folder");
    zr::Session ann = session(1);
    prompter.answers = {zr::Answer::Ok};   // the one warning of this run
    const zr::Result started = start(ann);
    EXPECT_FALSE(started);
    EXPECT_EQ(started.message(), "Not stored:\n" + zr::MySetupPath(ann));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "Not stored:\n" + zr::MySetupPath(ann));
    EXPECT_EQ(prompter.asked[0].icon, zr::Icon::Warning);
    EXPECT_EQ(ann.settings.comPort, 1);  // the run goes on with the built-in defaults

    // Every writer says which file it could not write; none tells anyone.
    EXPECT_EQ(zr::SaveHabits(ann).message(), "Not stored:\n" + zr::HabitFilePath(ann));
    EXPECT_EQ(zr::SaveBatchFlags(ann).message(), "Not stored:\n" + zr::BatchFilePath(ann));
    EXPECT_EQ(zr::SaveCapabilityFlags(ann).message(), "Not stored:\n" + zr::SettingFilePath(ann));
    const zr::Result key = zr::WriteSetupKey(ann, "comPort", "4");
    EXPECT_EQ(key.message(), "Not stored:\n" + zr::MySetupPath(ann));
    EXPECT_EQ(prompter.asked.size(), 1u);
    // Told once a run.
    zr::TellSettingNotStored(ann, zr::SaveHabits(ann));
    zr::TellSettingNotStored(ann, key);
    EXPECT_EQ(prompter.asked.size(), 1u);

    // Each run says it once; a write that worked says nothing.
    zr::Session again = session(1);
    zr::TellSettingNotStored(again, zr::Result::Done());
    EXPECT_EQ(prompter.asked.size(), 1u);
    prompter.answers = {zr::Answer::Ok};
    zr::TellSettingNotStored(again, zr::SaveHabits(again));
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].text, "Not stored:\n" + zr::HabitFilePath(again));
    EXPECT_EQ(prompter.asked[1].icon, zr::Icon::Warning);
}

TEST_F(SharedInstall, FactoryTestMarkerIsLookedUpBesideTheProgramOnly) {
    zr::Session ann = session(1);
    start(ann);
    Write(userFolder(1) / zr::kTestMarkerFile, zr::kTestMarkerText);
    EXPECT_FALSE(zr::CheckTestMarker(ann));
    Write(program / zr::kTestMarkerFile, zr::kTestMarkerText);
    EXPECT_TRUE(zr::CheckTestMarker(ann));
}
