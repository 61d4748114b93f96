// Which languages a program folder offers, which one a start takes, how the
// choice is kept and how a text missing in the chosen file falls back to
// English.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/languages.h"
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

// <root>/V100 with language files, <root>/language/mysetup.ini.
struct LanguageFolder : ::testing::Test {
    zrtest::TempDir dir;
    fs::path root, program, mysetup;
    zr::Session s;
    zrtest::ScriptedPrompter prompter;

    void SetUp() override {
        root = dir.path() / "root";
        program = root / "V100";
        mysetup = root / "language" / "mysetup.ini";
        Write(program / "language" / "english.ini",
              "[Main]\n12000=Programming Software\n12001=Channel information\n12002=Optional features\n"
              "[Lang]\nName=English\nLocale=en\nHelp=help\n23000=Language\n");
        Write(program / "language" / "german.ini",
              "[Main]\n12000=Programmiersoftware\n12001=Kanalinformationen\n12002=\n"
              "[Lang]\nName=Deutsch\nLocale=de\nHelp=help/de\n");
        Write(program / "language" / "CHINESE.INI", "[Lang]\nName=简体中文\nLocale=zh\nHelp=help/zh\n");
        Write(program / "language" / "notes.ini", "[Main]\n12000=not a language\n");
        Write(program / "language" / "dutch.txt", "[Lang]\nName=Nederlands\n");
        fs::create_directories(program / "help" / "de");
        s.prompter = &prompter;
    }

    void start(const std::string& locale) {
        zr::StartupSteps steps;
        steps.buildDocument = [](zr::Session&) {};
        steps.userLocale = locale;
        zr::Startup(s, (program / "zrcps").string(), steps);
    }
    std::string key(const char* k) { return zr::ReadProfileString(mysetup.string(), "language", k, "<none>"); }
};

}  // namespace

TEST_F(LanguageFolder, FilesWithALanguageNameAreLanguagesEnglishFirst) {
    const auto langs = zr::InstalledLanguages(program.string());
    ASSERT_EQ(langs.size(), 3u);
    EXPECT_EQ(langs[0].file, "english.ini");
    EXPECT_EQ(langs[1].file, "CHINESE.INI");
    EXPECT_EQ(langs[2].file, "german.ini");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(langs[size_t(i)].number, i + 1);
    EXPECT_EQ(langs[1].name, "简体中文");
    EXPECT_EQ(langs[2].locale, "de");
    // A help folder that is present is used; a missing one gives the English pages.
    EXPECT_EQ(langs[2].helpFolder, "help/de");
    EXPECT_EQ(langs[1].helpFolder, "help");
    EXPECT_EQ(zr::FindLanguage(langs, "German.INI"), &langs[2]);
    EXPECT_EQ(zr::FindLanguage(langs, "notes.ini"), nullptr);
}

TEST_F(LanguageFolder, HelpFoldersOutsideTheProgramFolderAreRefused) {
    fs::create_directories(root / "elsewhere");
    Write(program / "language" / "german.ini", "[Lang]\nName=Deutsch\nHelp=../elsewhere\n");
    Write(program / "language" / "french.ini", "[Lang]\nName=Français\nHelp=" + (root / "elsewhere").string() + "\n");
    for (const auto& l : zr::InstalledLanguages(program.string())) EXPECT_EQ(l.helpFolder, "help") << l.file;
}

TEST_F(LanguageFolder, EnglishIsLanguageOneEvenWithoutItsFile) {
    fs::remove(program / "language" / "english.ini");
    const auto langs = zr::InstalledLanguages(program.string());
    ASSERT_EQ(langs.size(), 3u);
    EXPECT_EQ(langs[0].file, "english.ini");
    EXPECT_EQ(langs[0].name, "English");
    EXPECT_EQ(langs[0].number, 1);
    fs::remove_all(program / "language");
    EXPECT_EQ(zr::InstalledLanguages(program.string()).size(), 1u);
}

TEST(Locale, LanguageCodeOfALocaleName) {
    EXPECT_EQ(zr::LocaleLanguageCode("de_DE.UTF-8"), "de");
    EXPECT_EQ(zr::LocaleLanguageCode("fr_CA"), "fr");
    EXPECT_EQ(zr::LocaleLanguageCode("zh-Hans-CN"), "zh");
    EXPECT_EQ(zr::LocaleLanguageCode("DE"), "de");
    EXPECT_EQ(zr::LocaleLanguageCode("sr@latin"), "sr");
    EXPECT_EQ(zr::LocaleLanguageCode("C.UTF-8"), "");
    EXPECT_EQ(zr::LocaleLanguageCode("POSIX"), "");
    EXPECT_EQ(zr::LocaleLanguageCode(""), "");
}

TEST_F(LanguageFolder, StartLanguageTakesTheStoredFileThenTheLocaleThenEnglish) {
    const auto langs = zr::InstalledLanguages(program.string());
    EXPECT_EQ(zr::StartLanguage(langs, "german.ini", "zh_CN.UTF-8").file, "german.ini");
    EXPECT_EQ(zr::StartLanguage(langs, "english.ini", "de_AT.UTF-8").file, "english.ini");
    EXPECT_EQ(zr::StartLanguage(langs, "", "zh_TW.UTF-8").file, "CHINESE.INI");
    EXPECT_EQ(zr::StartLanguage(langs, "klingon.ini", "de_CH").file, "german.ini");   // not installed
    EXPECT_EQ(zr::StartLanguage(langs, "", "pt_BR.UTF-8").file, "english.ini");
    EXPECT_EQ(zr::StartLanguage(langs, "", "C").file, "english.ini");
}

TEST_F(LanguageFolder, FirstStartTakesTheUsersLocaleWithoutStoringIt) {
    Write(mysetup, "[language]\nIsFirstRun=1\ncomPort=2\nHandshaking=0\nStopBit=0\nCurrentLanguage=1\n");
    start("de_DE.UTF-8");
    EXPECT_EQ(s.settings.languageFile, "german.ini");
    EXPECT_EQ(s.settings.CurrentLanguage, 3);
    EXPECT_EQ(s.settings.shownLanguage, 3);
    EXPECT_EQ(s.settings.helpFolder, "help/de");
    EXPECT_EQ(s.settings.helpFile, "ZR_E271_C.chm");
    EXPECT_EQ(s.settings.programTitle, "Programmiersoftware");
    EXPECT_EQ(key("CurrentLanguage"), "3");
    EXPECT_EQ(key("LanguageFile"), "<none>");   // the locale is no choice of the user

    // Another locale next time: still no stored choice, so it follows.
    start("fr_FR.UTF-8");
    EXPECT_EQ(s.settings.languageFile, "english.ini");
    EXPECT_EQ(s.settings.CurrentLanguage, 1);
    EXPECT_EQ(key("CurrentLanguage"), "1");
}

TEST_F(LanguageFolder, AStoredChoiceOutweighsTheLocaleAndSurvivesNewLanguages) {
    Write(mysetup, "[language]\nIsFirstRun=0\ncomPort=1\nHandshaking=0\nStopBit=0\n");
    s.paths = zr::PathsFromExecutable((program / "zrcps").string());
    zr::UseLanguage(s.settings, zr::InstalledLanguages(program.string())[2]);
    ASSERT_TRUE(zr::StoreLanguageChoice(s));
    EXPECT_EQ(key("LanguageFile"), "german.ini");
    EXPECT_EQ(key("CurrentLanguage"), "3");

    // A language installed later shifts the numbers; the file keeps the choice.
    Write(program / "language" / "french.ini", "[Lang]\nName=Français\nLocale=fr\n");
    start("zh_CN.UTF-8");
    EXPECT_EQ(s.settings.languageFile, "german.ini");
    EXPECT_EQ(s.settings.CurrentLanguage, 4);
    EXPECT_EQ(key("CurrentLanguage"), "4");
    EXPECT_EQ(key("LanguageFile"), "german.ini");

    // The chosen file removed: the locale decides again.
    fs::remove(program / "language" / "german.ini");
    start("zh_CN.UTF-8");
    EXPECT_EQ(s.settings.languageFile, "CHINESE.INI");
}

TEST_F(LanguageFolder, StoringTheChoiceWhereNoFileCanBeWrittenFails) {
    fs::create_directories(mysetup);   // a folder where the file should be
    s.paths = zr::PathsFromExecutable((program / "zrcps").string());
    const zr::Result stored = zr::StoreLanguageChoice(s);
    EXPECT_FALSE(stored);
    EXPECT_EQ(stored.message(), zr::LanguageText(s, 9067) + "\n" + zr::MySetupPath(s));   // the first key's failure
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(LanguageFolder, AMissingOrEmptyTextComesFromEnglish) {
    s.paths = zr::PathsFromExecutable((program / "zrcps").string());
    zr::UseLanguage(s.settings, zr::InstalledLanguages(program.string())[2]);
    EXPECT_EQ(zr::LanguageText(s, 12001), "Kanalinformationen");
    EXPECT_EQ(zr::LanguageText(s, 12002), "Optional features");   // empty in German
    EXPECT_EQ(zr::LanguageText(s, 23000), "Language");            // missing in German
    EXPECT_EQ(zr::LanguageText(s, 12003), "");                    // missing in both

    // The chosen file gone altogether: every text is English.
    fs::remove(program / "language" / "german.ini");
    EXPECT_EQ(zr::LanguageText(s, 12001), "Channel information");
    // English itself has no fallback.
    zr::UseLanguage(s.settings, zr::InstalledLanguages(program.string())[0]);
    fs::remove(program / "language" / "english.ini");
    EXPECT_EQ(zr::LanguageText(s, 12001), "");
}

TEST(ShippedLanguages, TextsOfEachLanguageWithTheRadioTerms) {
    zr::Session s;
    s.paths.programFolder = (zrtest::sourceDir() / "install").string();
    const auto langs = zr::InstalledLanguages(s.paths.programFolder);
    auto text = [&](const char* file, int n) {
        zr::UseLanguage(s.settings, *zr::FindLanguage(langs, file));
        return zr::LanguageText(s, n);
    };
    EXPECT_EQ(text("german.ini", 14001), "Kanal");
    EXPECT_EQ(text("german.ini", 16002), "Rauschsperre (Stufe)");
    EXPECT_EQ(text("french.ini", 14007), "Puissance d'émission");
    EXPECT_EQ(text("chinese.ini", 15005), "CTCSS/DCS解码");
    EXPECT_EQ(text("chinese.ini", 22000), "串口设置");
    // Leading blank of a text that follows a quoted file name.
    EXPECT_EQ(text("german.ini", 9007), " ist bereits vorhanden. Überschreiben?");
}
