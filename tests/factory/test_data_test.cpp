// Factory test mode: the marker file, "*.ted" files and companion files.

#include <gtest/gtest.h>

#include <filesystem>

#include "factory/test_data.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;

namespace {

std::vector<unsigned char> text(const std::string& s) { return {s.begin(), s.end()}; }

FactoryTestData counting(uint8_t first) {
    FactoryTestData d;
    for (int i = 0; i < 16; ++i) d.bytes[i] = static_cast<uint8_t>(first + i);
    return d;
}

}  // namespace

TEST(TestMarker, SwitchesTheModeOnlyForTheExactMarker) {
    zrtest::TempDir dir;
    Session s;
    s.paths.programFolder = dir.str();
    const auto marker = dir.path() / "TestData.ini";
    const std::string m = kTestMarkerText;

    struct Case {
        std::vector<unsigned char> content;
        bool on;
    } cases[] = {
        {text(m), true},
        {text(m + std::string(40, '\0')), true},
        // Blanks are trimmed before the NUL padding is cut off, so blanks
        // between the marker and the padding stay and spoil it.
        {text(m + "   "), false},
        {text(m + std::string("\0junk after the NUL", 19)), true},
        {text(m + "\r\n"), false},
        {text("kq7ve_2031_bench_unlockmarktext"), false},
        {text(m.substr(0, 30)), false},
        {text(std::string(97, 'x') + m), false},   // beyond the 128 bytes read
        {{}, false},
    };
    for (const auto& c : cases) {
        zrtest::writeBytes(marker, c.content);
        s.doc.testData = counting(1);
        s.doc.savedTestData = counting(2);
        EXPECT_EQ(CheckTestMarker(s), c.on) << std::string(c.content.begin(), c.content.end());
        EXPECT_EQ(s.settings.factoryTestMode, c.on);
        EXPECT_EQ(s.doc.testData, FactoryTestData{});
        EXPECT_EQ(s.doc.savedTestData, FactoryTestData{});
    }
    std::filesystem::remove(marker);
    s.settings.factoryTestMode = true;
    EXPECT_FALSE(CheckTestMarker(s));
    EXPECT_FALSE(s.settings.factoryTestMode);
    // A folder of that name is no marker.
    std::filesystem::create_directory(marker);
    EXPECT_FALSE(CheckTestMarker(s));
}

TEST(TestDataFile, ReadsAndWritesSixteenBytes) {
    zrtest::TempDir dir;
    const auto path = dir.str("a.ted");
    FactoryTestData buf = counting(1);

    // Missing or short file: the buffer stays.
    ReadTestDataFile(path, buf);
    EXPECT_EQ(buf, counting(1));
    zrtest::writeBytes(path, {9, 9, 9});
    ReadTestDataFile(path, buf);
    EXPECT_EQ(buf, counting(1));

    ASSERT_TRUE(WriteTestDataFile(path, counting(0x10)));
    EXPECT_EQ(std::filesystem::file_size(path), 16u);
    ReadTestDataFile(path, buf);
    EXPECT_EQ(buf, counting(0x10));

    // A longer file keeps its bytes beyond 16 and reads as its first 16.
    std::vector<unsigned char> longer(40, 0xCC);
    zrtest::writeBytes(path, longer);
    ASSERT_TRUE(WriteTestDataFile(path, counting(0x30)));
    auto bytes = zrtest::readBytes(path);
    ASSERT_EQ(bytes.size(), 40u);
    EXPECT_EQ(bytes[15], 0x3F);
    EXPECT_EQ(bytes[16], 0xCC);
    ReadTestDataFile(path, buf);
    EXPECT_EQ(buf, counting(0x30));

    // Errors are ignored: no file, no crash.
    EXPECT_FALSE(WriteTestDataFile(dir.str("missing/folder/a.ted"), buf));
}

TEST(TestDataFile, CompanionFilesOfDocuments) {
    EXPECT_EQ(CompanionTestDataPath("/radio/a.dat"), "/radio/a.ted");
    EXPECT_EQ(CompanionTestDataPath("C:\\radio\\a.dat"), "C:\\radio\\a.ted");
    EXPECT_EQ(CompanionTestDataPath("abcd"), ".ted");
    EXPECT_EQ(CompanionTestDataPath("abc"), std::nullopt);
    EXPECT_EQ(CompanionTestDataPath(""), std::nullopt);

    zrtest::TempDir dir;
    Session s;
    s.doc.savedTestData = counting(5);
    SaveCompanionTestData(s, dir.str("b.dat"));
    EXPECT_EQ(zrtest::readBytes(dir.path() / "b.ted").size(), 16u);
    s.doc.savedTestData = {};
    LoadCompanionTestData(s, dir.str("b.dat"));
    EXPECT_EQ(s.doc.savedTestData, counting(5));
    // No companion: the saved copy stays as it was.
    LoadCompanionTestData(s, dir.str("c.dat"));
    EXPECT_EQ(s.doc.savedTestData, counting(5));
    // A path too short for a companion touches nothing.
    SaveCompanionTestData(s, "ab");
    LoadCompanionTestData(s, "ab");
    EXPECT_EQ(s.doc.savedTestData, counting(5));
}
