#include "factory/test_data.h"

#include <filesystem>
#include <vector>

#include "files/file_io.h"
#include "shell/session.h"

namespace zr {

bool CheckTestMarker(Session& s) {
    s.doc.testData = FactoryTestData{};
    s.doc.savedTestData = FactoryTestData{};
    s.settings.factoryTestMode = false;

    const auto marker = std::filesystem::path(s.paths.programFolder) / kTestMarkerFile;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(marker, ec)) return false;
    std::vector<uint8_t> head;
    if (!ReadFileHead(marker.string(), kTestMarkerBytes, head)) return false;

    // A shorter file counts as padded with NULs. Trailing blanks go first,
    // then everything from the first NUL.
    std::string text(head.begin(), head.end());
    text.resize(kTestMarkerBytes, '\0');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);

    s.settings.factoryTestMode = text == kTestMarkerText;
    return s.settings.factoryTestMode;
}

void ReadTestDataFile(const std::string& path, FactoryTestData& buffer) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return;
    std::vector<uint8_t> head;
    if (!ReadFileHead(path, buffer.bytes.size(), head) || head.size() < buffer.bytes.size())
        return;
    std::copy(head.begin(), head.end(), buffer.bytes.begin());
}

bool WriteTestDataFile(const std::string& path, const FactoryTestData& buffer) {
    return ReplaceFileHead(path, buffer.bytes).ok();
}

std::optional<std::string> CompanionTestDataPath(const std::string& documentPath) {
    if (documentPath.size() <= 3) return std::nullopt;
    return documentPath.substr(0, documentPath.size() - 4) + ".ted";
}

void LoadCompanionTestData(Session& s, const std::string& documentPath) {
    if (auto p = CompanionTestDataPath(documentPath)) ReadTestDataFile(*p, s.doc.savedTestData);
}

void SaveCompanionTestData(Session& s, const std::string& documentPath) {
    if (auto p = CompanionTestDataPath(documentPath)) WriteTestDataFile(*p, s.doc.savedTestData);
}

}  // namespace zr
