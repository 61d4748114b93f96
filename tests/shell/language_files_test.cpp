// The shipped language files: each one has exactly the text numbers of
// english.ini, each in its section, and keeps what the program composes
// around a text (placeholders, a leading or trailing blank, quoted parts,
// brackets, the keyboard accelerator and every number as written).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shell/language.h"
#include "shell/languages.h"
#include "support/support.h"

namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string section;
    std::string value;   // trimmed, one pair of enclosing quotes removed
    int line = 0;
};

struct LanguageFile {
    std::string name;
    std::string bytes;
    std::map<int, Entry> texts;               // by text number
    std::map<std::string, std::string> lang;  // the non-numeric keys of "Lang"
    std::vector<std::string> problems;        // duplicates and stray lines
};

std::string Trim(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    const auto b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

LanguageFile Parse(const fs::path& p) {
    LanguageFile f;
    f.name = p.filename().string();
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    f.bytes = ss.str();
    std::istringstream lines(f.bytes);
    std::string section;
    int n = 0;
    for (std::string line; std::getline(lines, line);) {
        ++n;
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            section = t.substr(1, t.find(']') - 1);
            continue;
        }
        const auto eq = t.find('=');
        if (eq == std::string::npos) {
            f.problems.push_back("line " + std::to_string(n) + " is neither a section nor a key");
            continue;
        }
        const std::string key = Trim(t.substr(0, eq));
        std::string value = Trim(t.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (!key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            const int number = std::stoi(key);
            if (!f.texts.emplace(number, Entry{section, value, n}).second)
                f.problems.push_back("text " + key + " appears twice (line " + std::to_string(n) + ")");
        } else if (section == "Lang") {
            f.lang[key] = value;
        } else {
            f.problems.push_back("line " + std::to_string(n) + " has the key \"" + key + "\" outside section Lang");
        }
    }
    return f;
}

bool ValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + static_cast<std::size_t>(more) >= s.size() + (more == 0)) return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) >> 6) != 2) return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

std::multiset<std::string> Matches(const std::string& text, const std::regex& re) {
    std::multiset<std::string> out;
    for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it) out.insert((*it)[0].str());
    return out;
}

int Count(const std::string& text, char c) { return static_cast<int>(std::count(text.begin(), text.end(), c)); }

// Keyboard accelerators: "&" before a character, "&&" being a plain "&".
int Accelerators(const std::string& text) {
    int n = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') ++n;
        ++i;
    }
    return n;
}

std::string Joined(const std::multiset<std::string>& items) {
    std::string out;
    for (const auto& i : items) out += (out.empty() ? "" : " ") + i;
    return "{" + out + "}";
}

const fs::path& LanguageFolder() {
    static const fs::path p = zrtest::sourceDir() / "install" / "language";
    return p;
}

std::vector<fs::path> ShippedTranslations() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(LanguageFolder())) {
        const std::string name = e.path().filename().string();
        if (e.path().extension() == ".ini" && name != "english.ini" && name != "mysetup.ini") out.push_back(e.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(ShippedLanguageFiles, GermanFrenchAndChineseAreInstalled) {
    const auto languages = zr::InstalledLanguages((zrtest::sourceDir() / "install").string());
    std::vector<std::string> names;
    for (const auto& l : languages) names.push_back(l.name);
    EXPECT_EQ(names, (std::vector<std::string>{"English", "简体中文", "Français", "Deutsch"}));
    EXPECT_EQ(ShippedTranslations().size(), languages.size() - 1) << "a file in the folder is no language";
    for (const auto& l : languages) {
        EXPECT_FALSE(l.locale.empty()) << l.file;
        EXPECT_TRUE(fs::exists(zrtest::sourceDir() / "install" / l.helpFolder / "index.html")) << l.file;
    }
}

TEST(ShippedLanguageFiles, EnglishFileIsWellFormed) {
    const LanguageFile english = Parse(LanguageFolder() / "english.ini");
    EXPECT_TRUE(ValidUtf8(english.bytes));
    for (const auto& p : english.problems) ADD_FAILURE() << "english.ini: " << p;
    EXPECT_GT(english.texts.size(), 400u);
    for (const auto& [number, e] : english.texts) {
        EXPECT_EQ(e.section, zr::LanguageSection(number)) << "text " << number << " line " << e.line;
        EXPECT_FALSE(e.value.empty()) << "text " << number;
    }
    EXPECT_EQ(english.lang.at("Name"), "English");
}

TEST(ShippedLanguageFiles, EveryTranslationHasExactlyTheEnglishNumbersAndKeepsComposedParts) {
    const LanguageFile english = Parse(LanguageFolder() / "english.ini");
    const std::regex placeholder(R"(%\d+|%[sdf]|\{\d*\})");
    const std::regex number(R"(\d+(?:[.,]\d+)?)");
    const auto translations = ShippedTranslations();
    ASSERT_EQ(translations.size(), 3u);
    for (const auto& path : translations) {
        const LanguageFile f = Parse(path);
        SCOPED_TRACE(f.name);
        EXPECT_TRUE(ValidUtf8(f.bytes)) << "not UTF-8";
        for (const auto& p : f.problems) ADD_FAILURE() << p;
        EXPECT_FALSE(f.lang.count("Name") == 0 || f.lang.at("Name").empty()) << "no own name in section Lang";

        for (const auto& [n, e] : english.texts)
            if (!f.texts.count(n)) ADD_FAILURE() << "text " << n << " is missing";
        for (const auto& [n, t] : f.texts) {
            const auto it = english.texts.find(n);
            if (it == english.texts.end()) {
                ADD_FAILURE() << "text " << n << " (line " << t.line << ") is not in english.ini";
                continue;
            }
            const std::string& en = it->second.value;
            const std::string& tr = t.value;
            const std::string where = "text " + std::to_string(n) + " \"" + tr + "\" (English \"" + en + "\")";
            EXPECT_EQ(t.section, zr::LanguageSection(n)) << where;
            EXPECT_FALSE(tr.empty()) << where;
            EXPECT_EQ(Matches(tr, placeholder), Matches(en, placeholder)) << where << ": placeholders";
            EXPECT_EQ(!tr.empty() && tr.front() == ' ', !en.empty() && en.front() == ' ') << where << ": leading blank";
            EXPECT_EQ(!tr.empty() && tr.back() == ' ', !en.empty() && en.back() == ' ') << where << ": trailing blank";
            EXPECT_EQ(Count(tr, '"'), Count(en, '"')) << where << ": quoted parts";
            EXPECT_EQ(Count(tr, '['), Count(en, '[')) << where << ": brackets";
            EXPECT_EQ(Count(tr, ']'), Count(en, ']')) << where << ": brackets";
            EXPECT_EQ(Accelerators(tr), Accelerators(en)) << where << ": keyboard accelerator";
            // Numbers stay as written, "." included: the radio and the files need it.
            EXPECT_EQ(Joined(Matches(tr, number)), Joined(Matches(en, number))) << where << ": numbers";
        }
    }
}

// The check above must notice each kind of fault; a damaged copy of a
// shipped file proves it.
TEST(ShippedLanguageFiles, TheChecksNoticeDamage) {
    zrtest::TempDir dir;
    std::ifstream in(LanguageFolder() / "german.ini", std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    auto replace = [&](const std::string& from, const std::string& to) {
        const auto pos = text.find(from);
        ASSERT_NE(pos, std::string::npos) << from;
        text.replace(pos, from.size(), to);
    };
    replace("14020=12.5 kHz", "14020=12,5 kHz");
    replace("31104=Die Hilfeseite %1 ist", "31104=Die Hilfeseite ist");
    replace("9007=\" ist", "9007=\"ist");
    replace("10001=&Neu", "10001=Neu");
    replace("14012=Kanalinformationen [Kanal", "14012=Kanalinformationen Kanal");
    replace("12013=Testdaten\n", "12013=Testdaten\n12013=Doppelt\n99999=Fremd\n");
    std::ofstream(dir.path() / "german.ini", std::ios::binary) << text;

    const LanguageFile english = Parse(LanguageFolder() / "english.ini");
    const LanguageFile damaged = Parse(dir.path() / "german.ini");
    EXPECT_EQ(damaged.problems.size(), 1u);                  // the duplicate
    EXPECT_TRUE(damaged.texts.count(99999) && !english.texts.count(99999));
    const std::regex number(R"(\d+(?:[.,]\d+)?)");
    EXPECT_NE(Joined(Matches(damaged.texts.at(14020).value, number)),
              Joined(Matches(english.texts.at(14020).value, number)));
    EXPECT_NE(Matches(damaged.texts.at(31104).value, std::regex("%\\d+")).size(), 1u);
    EXPECT_NE(damaged.texts.at(9007).value.front(), ' ');
    EXPECT_EQ(english.texts.at(9007).value.front(), ' ');
    EXPECT_EQ(Accelerators(damaged.texts.at(10001).value), 0);
    EXPECT_EQ(Count(damaged.texts.at(14012).value, '['), 0);
    EXPECT_EQ(Accelerators("Fish && &Chips"), 1);
    EXPECT_FALSE(ValidUtf8("Kan\xe4l"));
    EXPECT_TRUE(ValidUtf8("Kanäle 信道"));
}
