#include "shell/language.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "shell/ini_file.h"
#include "shell/languages.h"
#include "shell/session.h"

namespace zr {

std::string_view LanguageSection(int number) {
    static constexpr std::array<std::string_view, 21> kSections = {
        "Msg",     "Menu",  "ToolBar", "Main",  "Model",  "ChannelInfo", "ChannelEdit",
        "Option",  "Radio", "DTMF",    "TestFre", "EMG",  "Local",       "Port",
        "Lang",    "About", "CHEdit",  "CHBatch", "AlertSet", "ScanSet", "KeySet"};
    if (number < 9000) return "OTHER";
    if (number >= 30000) return "Others";
    return kSections[static_cast<std::size_t>(number / 1000 - 9)];
}

std::string LanguageFilePath(const Session& s) {
    return s.paths.programFolder + "/language/" + s.settings.languageFile;
}

namespace {

// A language file's text, kept while its time stamp and size stay the same.
// The run's file and english.ini are both read on most captions, so a few
// files are kept.
struct CachedFile {
    std::string path;
    std::filesystem::file_time_type time{};
    std::uintmax_t size = 0;
    bool present = false;
    std::string text;
};

const std::string& LanguageFileText(const std::string& path) {
    static std::vector<CachedFile> cache;   // most recently used last
    constexpr std::size_t kKept = 4;
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    const bool present = !ec;
    std::uintmax_t size = 0;
    if (present) {
        size = std::filesystem::file_size(path, ec);
        if (ec) size = 0;
    }
    auto it = std::find_if(cache.begin(), cache.end(), [&](const CachedFile& c) { return c.path == path; });
    if (it != cache.end()) {
        std::rotate(it, it + 1, cache.end());
        CachedFile& c = cache.back();
        if (c.present == present && c.time == time && c.size == size) return c.text;
    } else {
        if (cache.size() >= kKept) cache.erase(cache.begin());
        cache.emplace_back();
        cache.back().path = path;
    }
    CachedFile& c = cache.back();
    c.present = present;
    c.time = time;
    c.size = size;
    c.text.clear();
    if (present) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        c.text = ss.str();
    }
    return c.text;
}

}  // namespace

std::string LanguageTextFromFile(const std::string& path, int number) {
    char key[16];
    auto [end, ec] = std::to_chars(key, key + sizeof key, number);
    (void)ec;
    return ProfileStringFromText(LanguageFileText(path), LanguageSection(number),
                                 std::string_view(key, static_cast<std::size_t>(end - key)));
}

std::string EnglishFilePath(const Session& s) { return s.paths.programFolder + "/language/" + kEnglishFile; }

std::string LanguageText(const Session& s, int number) {
    std::string text = LanguageTextFromFile(LanguageFilePath(s), number);
    if (text.empty() && s.settings.languageFile != kEnglishFile)
        text = LanguageTextFromFile(EnglishFilePath(s), number);
    return text;
}

std::string LanguageTextOr(const Session& s, int number, const char* fallback) {
    std::string t = LanguageText(s, number);
    return t.empty() ? std::string(fallback) : t;
}

int MenuHelpContext(std::string_view item) {
    static const std::map<std::string_view, int> kContexts = {
        {"File", 100},          {"New", 101},
        {"Open", 102},          {"Save", 103},
        {"SaveAs", 104},        {"Exit", 105},
        {"Model", 200},         {"ModelInfo", 201},
        {"Edit", 300},          {"ChannelInfo", 3100},
        {"OptionalFeatures", 3200}, {"FmRadio", 3300},
        {"Dtmf", 3400},         {"EmbeddedMessage", 3500},
        {"LocalInfo", 3600},    {"ChannelBatch", 3700},
        {"Program", 400},       {"Read", 401},
        {"Write", 402},         {"Password", 403},
        {"Settings", 500},      {"Port", 501},
        {"Language", 502},      {"Init", 503},
        {"Habits", 504},        {"View", 600},
        {"TreeView", 601},      {"ToolBar", 602},
        {"StatusBar", 603},     {"Window", 700},
        {"Cascade", 701},       {"CloseAll", 702},
        {"Help", 800},          {"HelpTopics", 801},
        {"About", 802},         {"ChannelEdit", 900},
        {"Cut", 901},           {"Copy", 902},
        {"Paste", 903},         {"Insert", 904},
        {"Delete", 905},        {"MoveUp", 906},
        {"MoveDown", 907}};
    auto it = kContexts.find(item);
    return it == kContexts.end() ? 0 : it->second;
}

std::string HelpFileForLanguage(int language) {
    return language == 1 ? "ZR_E271_E.chm" : "ZR_E271_C.chm";
}

}  // namespace zr
