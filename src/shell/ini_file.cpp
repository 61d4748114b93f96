#include "shell/ini_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "shell/atomic_file.h"

namespace zr {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// One line of the file without its line end, and the line end as found.
struct Line {
    std::string_view body;
    std::string_view end;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) {
            lines.push_back({text.substr(pos), {}});
            break;
        }
        std::size_t bodyEnd = nl;
        if (bodyEnd > pos && text[bodyEnd - 1] == '\r') --bodyEnd;
        lines.push_back({text.substr(pos, bodyEnd - pos), text.substr(bodyEnd, nl + 1 - bodyEnd)});
        pos = nl + 1;
    }
    return lines;
}

// The section name of a "[name]" line, or false when the line is no header.
bool SectionName(std::string_view body, std::string_view& name) {
    std::string_view t = Trim(body);
    if (t.empty() || t.front() != '[') return false;
    std::size_t close = t.find(']');
    if (close == std::string_view::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

// The key and raw value of a "key=value" line, or false for other lines.
bool KeyValue(std::string_view body, std::string_view& key, std::string_view& value) {
    std::string_view t = Trim(body);
    if (t.empty() || t.front() == ';') return false;
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    return true;
}

std::string_view StripBom(std::string_view text) {
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
        static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF)
        text.remove_prefix(3);
    return text;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

}  // namespace

std::string ProfileStringFromText(std::string_view text, std::string_view section,
                                  std::string_view key, std::string_view defaultValue) {
    text = StripBom(text);
    bool inSection = false;
    bool sectionSeen = false;
    for (const Line& line : SplitLines(text)) {
        std::string_view name;
        if (SectionName(line.body, name)) {
            if (sectionSeen && inSection) break;  // only the first matching section counts
            inSection = EqualNoCase(name, Trim(section));
            if (inSection) sectionSeen = true;
            continue;
        }
        if (!inSection) continue;
        std::string_view k, v;
        if (KeyValue(line.body, k, v) && EqualNoCase(k, Trim(key))) {
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
    }
    return std::string(Trim(defaultValue));
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    std::string text;
    if (!ReadWholeFile(path, text)) return std::string(Trim(defaultValue));
    return ProfileStringFromText(text, section, key, defaultValue);
}

std::string SetProfileStringInText(std::string_view text, std::string_view section,
                                   std::string_view key, std::string_view value) {
    std::string_view bom;
    std::string_view body = StripBom(text);
    if (body.size() != text.size()) bom = text.substr(0, 3);
    std::vector<Line> lines = SplitLines(body);

    // Line end used when a line is added: the file's own, else CR LF.
    std::string_view eol = "\r\n";
    for (const Line& l : lines)
        if (!l.end.empty()) {
            eol = l.end;
            break;
        }

    const std::string newLine = std::string(Trim(key)) + "=" + std::string(value);
    std::size_t sectionLine = lines.size();   // header of the first matching section
    std::size_t lastContent = lines.size();   // last non-blank line inside it
    std::size_t keyLine = lines.size();
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (SectionName(lines[i].body, name)) {
            if (inSection) break;
            if (sectionLine == lines.size() && EqualNoCase(name, Trim(section))) {
                inSection = true;
                sectionLine = i;
                lastContent = i;
            }
            continue;
        }
        if (!inSection) continue;
        if (!Trim(lines[i].body).empty()) lastContent = i;
        std::string_view k, v;
        if (KeyValue(lines[i].body, k, v) && EqualNoCase(k, Trim(key))) {
            keyLine = i;
            break;
        }
    }

    std::string out(bom);
    auto emit = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            out.append(lines[i].body);
            out.append(lines[i].end);
        }
    };
    auto lastEnd = [&](std::size_t i) {
        // A line that had no line end (end of file) gets one before more follows.
        if (lines[i].end.empty()) out.append(eol);
    };

    if (keyLine < lines.size()) {
        emit(0, keyLine);
        out.append(newLine);
        out.append(lines[keyLine].end);
        emit(keyLine + 1, lines.size());
    } else if (sectionLine < lines.size()) {
        emit(0, lastContent + 1);
        lastEnd(lastContent);
        out.append(newLine);
        out.append(eol);
        emit(lastContent + 1, lines.size());
    } else {
        emit(0, lines.size());
        if (!lines.empty()) lastEnd(lines.size() - 1);
        out.append("[");
        out.append(Trim(section));
        out.append("]");
        out.append(eol);
        out.append(newLine);
        out.append(eol);
    }
    return out;
}

bool WriteProfileString(const std::string& path, std::string_view section,
                        std::string_view key, std::string_view value) {
    std::string text;
    std::error_code ec;
    // A missing file starts empty; one that exists but cannot be read is
    // left alone rather than replaced by a file holding this key only.
    if (!ReadWholeFile(path, text) && std::filesystem::exists(path, ec)) return false;
    const std::string updated = SetProfileStringInText(text, section, key, value);
    std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    return WriteFileAtomically(path, updated).ok();
}

}  // namespace zr
