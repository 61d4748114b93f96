#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/session.h"
#include "support/support.h"

namespace {

std::string ReadText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteText(const std::filesystem::path& p, const std::string& s) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << s;
}

// A run of 4 or 5 digits somewhere in the line.
bool HasTextNumber(const std::string& line) {
    int run = 0;
    for (char c : line) {
        if (c >= '0' && c <= '9') {
            ++run;
        } else {
            if (run == 4 || run == 5) return true;
            run = 0;
        }
    }
    return run == 4 || run == 5;
}

}  // namespace

TEST(IniRead, NamesCaseInsensitiveFirstMatchTrimmedValues) {
    const std::string text =
        "; comment\r\n"
        "[Language]\r\n"
        "  ComPort =  3  \r\n"
        "comport=9\r\n"
        "quoted=\" a b \"\r\n"
        "empty=\r\n"
        "[language]\r\n"
        "StopBit=1\r\n"
        "[Other]\r\n"
        "comPort=7\r\n";
    EXPECT_EQ(zr::ProfileStringFromText(text, "language", "COMPORT"), "3");
    // Only the first section of that name is searched.
    EXPECT_EQ(zr::ProfileStringFromText(text, "language", "StopBit", "dflt"), "dflt");
    EXPECT_EQ(zr::ProfileStringFromText(text, "other", "comport"), "7");
    EXPECT_EQ(zr::ProfileStringFromText(text, "language", "quoted"), " a b ");
    EXPECT_EQ(zr::ProfileStringFromText(text, "language", "empty", "x"), "");
    EXPECT_EQ(zr::ProfileStringFromText(text, "missing", "comPort", " d "), "d");
    EXPECT_EQ(zr::ReadProfileString("/nonexistent/dir/file.ini", "a", "b", "def"), "def");
}

TEST(IniWrite, ChangesOneKeyAndKeepsEveryOtherLine) {
    zrtest::TempDir dir;
    const auto path = dir.path() / "mysetup.ini";
    const std::string before =
        "; keep me\r\n[language]\r\nIsFirstRun=1\r\ncomPort = 4 \r\n\r\n[x]\r\nIsFirstRun=5\r\n";
    WriteText(path, before);
    ASSERT_TRUE(zr::WriteProfileString(path.string(), "LANGUAGE", "isfirstrun", "0"));
    EXPECT_EQ(ReadText(path),
              "; keep me\r\n[language]\r\nisfirstrun=0\r\ncomPort = 4 \r\n\r\n[x]\r\nIsFirstRun=5\r\n");

    // A key missing from its section goes after the section's last line.
    ASSERT_TRUE(zr::WriteProfileString(path.string(), "language", "StopBit", "1"));
    EXPECT_EQ(ReadText(path), "; keep me\r\n[language]\r\nisfirstrun=0\r\ncomPort = 4 \r\nStopBit=1\r\n"
                              "\r\n[x]\r\nIsFirstRun=5\r\n");
    EXPECT_EQ(zr::ReadProfileString(path.string(), "x", "IsFirstRun"), "5");

    // A missing section is appended, a missing file created.
    ASSERT_TRUE(zr::WriteProfileString(path.string(), "new", "k", "v"));
    EXPECT_EQ(zr::ReadProfileString(path.string(), "new", "k"), "v");
    const auto fresh = dir.path() / "sub" / "fresh.ini";
    ASSERT_TRUE(zr::WriteProfileString(fresh.string(), "s", "a", "1"));
    EXPECT_EQ(ReadText(fresh), "[s]\r\na=1\r\n");
    EXPECT_FALSE(std::filesystem::exists(fresh.string() + ".tmp"));
}

TEST(IniWrite, LastLineWithoutLineEndAndUnixLineEnds) {
    EXPECT_EQ(zr::SetProfileStringInText("[a]\nk=1", "a", "j", "2"), "[a]\nk=1\nj=2\n");
    EXPECT_EQ(zr::SetProfileStringInText("[a]\nk=1", "a", "k", "2"), "[a]\nk=2");
    EXPECT_EQ(zr::SetProfileStringInText("x=1", "b", "k", "2"), "x=1\r\n[b]\r\nk=2\r\n");
}

TEST(LanguageSections, ThousandRanges) {
    EXPECT_EQ(zr::LanguageSection(0), "OTHER");
    EXPECT_EQ(zr::LanguageSection(8999), "OTHER");
    EXPECT_EQ(zr::LanguageSection(9000), "Msg");
    EXPECT_EQ(zr::LanguageSection(9999), "Msg");
    EXPECT_EQ(zr::LanguageSection(10000), "Menu");
    EXPECT_EQ(zr::LanguageSection(12000), "Main");
    EXPECT_EQ(zr::LanguageSection(14013), "ChannelInfo");
    EXPECT_EQ(zr::LanguageSection(19500), "TestFre");
    EXPECT_EQ(zr::LanguageSection(25000), "CHEdit");
    EXPECT_EQ(zr::LanguageSection(29999), "KeySet");
    EXPECT_EQ(zr::LanguageSection(30000), "Others");
    EXPECT_EQ(zr::LanguageSection(-5), "OTHER");
}

TEST(LanguageText, LooksUpTrimsAndSeesEdits) {
    zrtest::TempDir dir;
    zr::Session s;
    s.paths.programFolder = dir.str();
    const auto file = dir.path() / "language" / "english.ini";
    EXPECT_EQ(zr::LanguageText(s, 9021), "");  // no file yet
    WriteText(file, "[Msg]\n9999=  last msg  \n[Menu]\n10000=File\n[KeySet]\n29999=k\n[Others]\n30000=o\n");
    EXPECT_EQ(zr::LanguageText(s, 9999), "last msg");
    EXPECT_EQ(zr::LanguageText(s, 10000), "File");
    EXPECT_EQ(zr::LanguageText(s, 29999), "k");
    EXPECT_EQ(zr::LanguageText(s, 30000), "o");
    EXPECT_EQ(zr::LanguageText(s, 10001), "");
    // An edit of the file is seen by the next lookup, even with the same size.
    WriteText(file, "[Msg]\n9999=  other m  \n[Menu]\n10000=Elif\n[KeySet]\n29999=k\n[Others]\n30000=o\n");
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) +
                                               std::chrono::seconds(2));
    EXPECT_EQ(zr::LanguageText(s, 10000), "Elif");
    std::filesystem::remove(file);
    EXPECT_EQ(zr::LanguageText(s, 10000), "");
}

TEST(Help, ContextsAndFiles) {
    EXPECT_EQ(zr::MenuHelpContext("New"), 101);
    EXPECT_EQ(zr::MenuHelpContext("ChannelBatch"), 3700);
    EXPECT_EQ(zr::MenuHelpContext("MoveDown"), 907);
    EXPECT_EQ(zr::MenuHelpContext("Nothing"), 0);
    EXPECT_EQ(zr::HelpFileForLanguage(1), "ZR_E271_E.chm");
    EXPECT_EQ(zr::HelpFileForLanguage(2), "ZR_E271_C.chm");
}

// Every text number that the program's sources ask for with a literal number
// must be present in the shipped English file.
TEST(ShippedLanguageFile, HoldsEveryTextTheSourcesUse) {
    const auto root = zrtest::sourceDir();
    const std::string english = (root / "install" / "language" / "english.ini").string();
    ASSERT_TRUE(std::filesystem::exists(english));

    // Calls that pass the session and a literal text number, such as
    // LanguageText(s, 9021) or label(s_, 26000), lists of numbers given to
    // TextList(s, {14014, 14015}), and constants named kText<number>.
    const std::regex call(R"(\b\w+\s*\(\s*\*?(?:s|s_|session|session_|m_session)\s*,\s*(\d{4,5})\s*[,)])");
    const std::regex list(R"(\bTextList\s*\(\s*\w+\s*,\s*\{([^}]*)\})");
    const std::regex constant(R"(\bkText(\d{4,5})\b)");
    const std::regex number(R"(\d{4,5})");
    std::set<int> used;
    auto note = [&](const std::string& digits) {
        const int n = std::stoi(digits);
        if (n >= 9000 && n < 30000) used.insert(n);
    };
    for (const auto& e : std::filesystem::recursive_directory_iterator(root / "src")) {
        if (!e.is_regular_file()) continue;
        const auto ext = e.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        std::istringstream code(ReadText(e.path()));
        for (std::string line; std::getline(code, line);) {
            if (!HasTextNumber(line)) continue;  // keeps the regular expressions off most lines
            for (const std::regex* re : {&call, &constant})
                for (std::sregex_iterator it(line.begin(), line.end(), *re), end; it != end; ++it)
                    note((*it)[1].str());
            for (std::sregex_iterator it(line.begin(), line.end(), list), end; it != end; ++it) {
                const std::string numbers = (*it)[1].str();
                for (std::sregex_iterator n(numbers.begin(), numbers.end(), number); n != end; ++n)
                    note((*n)[0].str());
            }
        }
    }
    // The foundation's own lookups are among them.
    EXPECT_TRUE(used.count(9021)) << "the scan found no LanguageText call";
    for (int n : used)
        EXPECT_FALSE(zr::LanguageTextFromFile(english, n).empty()) << "text " << n << " missing";
}
