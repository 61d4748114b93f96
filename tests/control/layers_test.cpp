// The layers of the source tree, from the bottom:
//   1. the core: src/shell, data, files, link, channels, pages, factory
//      (plain C++: no Qt header at all);
//   2. the document controller: src/control (plain C++ as well);
//   3. the Qt adapters without windows: src/platform/serial (the serial
//      link), src/platform/print/channel_sheet (the sheet as PDF) and
//      src/platform/shell/texts (language texts as QString, on Qt Core);
//   4. the windows: the rest of src/platform;
//   5. the programs: app/ (with windows) and tools/ (without).
// A file includes project headers from its own layer and those below only;
// nothing below the windows, and no command-line program, includes a Qt
// Widgets header. The Qt Widgets headers are the ones Qt installs in its
// QtWidgets folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/support.h"

namespace fs = std::filesystem;

namespace {

enum Layer { Core = 1, Control, Adapters, Windows, Programs };

// The layer of a path relative to the source tree ("src/data/bands.h").
Layer layerOf(const std::string& rel) {
    auto starts = [&](const char* p) { return rel.rfind(p, 0) == 0; };
    if (starts("src/control/")) return Control;
    if (starts("src/platform/serial/") || starts("src/platform/print/channel_sheet.") ||
        starts("src/platform/shell/texts."))
        return Adapters;
    if (starts("src/platform/")) return Windows;
    if (starts("src/")) return Core;
    return Programs;
}

struct Include {
    std::string target;   // as written between the quotes or brackets
    bool quoted = false;
    int line = 0;
};

std::vector<Include> includesOf(const fs::path& file) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> out;
    std::ifstream in(file);
    std::string text;
    int n = 0;
    while (std::getline(in, text)) {
        ++n;
        std::smatch m;
        if (std::regex_search(text, m, kInclude)) out.push_back({m[2].str(), m[1].str() == "\"", n});
    }
    return out;
}

// The sources of the program under root: src/, app/ and tools/.
std::vector<fs::path> sources(const fs::path& root) {
    std::vector<fs::path> out;
    for (const char* top : {"src", "app", "tools"}) {
        const fs::path dir = root / top;
        if (!fs::exists(dir)) continue;
        for (const auto& e : fs::recursive_directory_iterator(dir)) {
            const std::string ext = e.path().extension().string();
            if (e.is_regular_file() && (ext == ".h" || ext == ".cpp")) out.push_back(e.path());
        }
    }
    return out;
}

std::set<std::string> qtWidgetsHeaders() {
    std::set<std::string> names;
    const fs::path dir = ZR_QT_WIDGETS_INCLUDE;
    if (fs::is_directory(dir))
        for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

bool isWidgetsHeader(const std::set<std::string>& widgets, const std::string& target) {
    if (target.rfind("QtWidgets/", 0) == 0 || target == "QtWidgets") return true;
    return widgets.count(target) > 0;
}

// What the files under root include against the rules, one line per fault.
std::vector<std::string> faults(const fs::path& root, const std::set<std::string>& widgets) {
    std::vector<std::string> out;
    for (const fs::path& file : sources(root)) {
        const std::string rel = fs::relative(file, root).generic_string();
        const Layer own = layerOf(rel);
        const bool commandLine = rel.rfind("tools/", 0) == 0;
        for (const Include& inc : includesOf(file)) {
            const std::string where = rel + ":" + std::to_string(inc.line) + " includes " + inc.target;
            if (inc.quoted) {
                // Project headers are named from src/; a name without a
                // folder, or one that is not in src/, is the file's own.
                if (!fs::exists(root / "src" / inc.target)) continue;
                const Layer theirs = layerOf("src/" + inc.target);
                if (theirs > own) out.push_back(where + " from a layer above its own");
                if (commandLine && theirs == Windows) out.push_back(where + ", a window, into a command-line program");
            } else if (inc.target.size() > 1 && inc.target[0] == 'Q') {
                if (own <= Control) out.push_back(where + ": the core is plain C++");
                else if ((own < Windows || commandLine) && isWidgetsHeader(widgets, inc.target))
                    out.push_back(where + ", a Qt Widgets header");
            }
        }
    }
    return out;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

}  // namespace

TEST(Layers, EveryFileIncludesOnlyFromItsLayerAndBelow) {
    const std::set<std::string> widgets = qtWidgetsHeaders();
    ASSERT_TRUE(widgets.count("QWidget")) << "the Qt Widgets headers were not found in " << ZR_QT_WIDGETS_INCLUDE;
    ASSERT_GT(sources(zrtest::sourceDir()).size(), 100u);
    const std::vector<std::string> found = faults(zrtest::sourceDir(), widgets);
    EXPECT_TRUE(found.empty()) << joined(found);
}

TEST(Layers, TheCheckSeesWhatItMustRefuse) {
    // The rules of the check on examples of each kind.
    const std::set<std::string> widgets = qtWidgetsHeaders();
    EXPECT_EQ(layerOf("src/data/bands.h"), Core);
    EXPECT_EQ(layerOf("src/control/document_controller.h"), Control);
    EXPECT_EQ(layerOf("src/platform/serial/qt_link.h"), Adapters);
    EXPECT_EQ(layerOf("src/platform/print/channel_sheet.h"), Adapters);
    EXPECT_EQ(layerOf("src/platform/shell/texts.h"), Adapters);
    EXPECT_EQ(layerOf("src/platform/print/channel_sheet_preview.h"), Windows);
    EXPECT_EQ(layerOf("src/platform/shell/frm_main.h"), Windows);
    EXPECT_EQ(layerOf("tools/cli/main.cpp"), Programs);
    EXPECT_TRUE(isWidgetsHeader(widgets, "QDialog"));
    EXPECT_TRUE(isWidgetsHeader(widgets, "QtWidgets/QLabel"));
    EXPECT_FALSE(isWidgetsHeader(widgets, "QString"));
    EXPECT_FALSE(isWidgetsHeader(widgets, "QSerialPort"));

    // A tree whose files break each rule once: every fault is found, and
    // nothing else.
    zrtest::TempDir tree;
    auto put = [&](const std::string& rel, const std::string& text) {
        fs::create_directories((tree.path() / rel).parent_path());
        std::ofstream(tree.path() / rel) << text;
    };
    put("src/control/document_controller.h", "#include \"data/bands.h\"\n");
    put("src/data/bands.h", "#include <string>\n");
    put("src/platform/shell/frm_main.h", "#include <QWidget>\n#include \"control/document_controller.h\"\n");
    put("src/data/probe.cpp", "#include \"control/document_controller.h\"\n#include <QString>\n");
    put("src/platform/serial/port.cpp", "#include <QSerialPort>\n#include <QDialog>\n");
    put("tools/cli/main.cpp", "#include \"platform/shell/frm_main.h\"\n#include <QCoreApplication>\n");
    const std::vector<std::string> found = faults(tree.path(), widgets);
    const std::vector<std::string> expected = {
        "src/data/probe.cpp:1 includes control/document_controller.h from a layer above its own",
        "src/data/probe.cpp:2 includes QString: the core is plain C++",
        "src/platform/serial/port.cpp:2 includes QDialog, a Qt Widgets header",
        "tools/cli/main.cpp:1 includes platform/shell/frm_main.h, a window, into a command-line program",
    };
    std::vector<std::string> sorted = found;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected) << joined(found);
}
