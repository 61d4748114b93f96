// The one way files are written: what stays when a write cannot finish, and
// what happens to links, read-only files and files of the same name.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "shell/atomic_file.h"
#include "support/support.h"

namespace fs = std::filesystem;

namespace {

std::string Text(const fs::path& p) {
    const auto b = zrtest::readBytes(p);
    return std::string(b.begin(), b.end());
}

void Put(const fs::path& p, const std::string& text) {
    zrtest::writeBytes(p, std::vector<unsigned char>(text.begin(), text.end()));
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.insert(e.path().filename().string());
    return out;
}

unsigned Mode(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

}  // namespace

TEST(AtomicFile, ReplacesTheFileAndTouchesNothingElseInItsFolder) {
    zrtest::TempDir dir;
    const fs::path target = dir.path() / "list.csv";
    Put(target, "old");
    ::chmod(target.c_str(), 0640);
    // Files that a fixed temporary name would have hit.
    Put(dir.path() / "list.csv.tmp", "someone else's");
    Put(dir.path() / ".list.csv.tmp", "hidden");
    const auto before = Names(dir.path());

    const zr::Result r = zr::WriteFileAtomically(target.string(), std::string_view("new content"));
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(Text(target), "new content");
    EXPECT_EQ(Mode(target), 0640u);
    EXPECT_EQ(Text(dir.path() / "list.csv.tmp"), "someone else's");
    EXPECT_EQ(Text(dir.path() / ".list.csv.tmp"), "hidden");
    EXPECT_EQ(Names(dir.path()), before);

    // A new file gets the usual permissions.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(zr::WriteFileAtomically(dir.str("fresh.bin"), std::string_view("x")).ok());
    ::umask(mask);
    EXPECT_EQ(Mode(dir.path() / "fresh.bin"), 0644u);
    // An empty content makes an empty file.
    ASSERT_TRUE(zr::WriteFileAtomically(dir.str("empty.ini"), std::string_view()).ok());
    EXPECT_EQ(fs::file_size(dir.path() / "empty.ini"), 0u);
}

TEST(AtomicFile, WritesThroughSymbolicLinks) {
    zrtest::TempDir dir;
    fs::create_directory(dir.path() / "real");
    Put(dir.path() / "real" / "doc.dat", "old");
    fs::create_symlink("real/doc.dat", dir.path() / "link.dat");   // relative
    ASSERT_TRUE(zr::WriteFileAtomically(dir.str("link.dat"), std::string_view("through")).ok());
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.dat"));
    EXPECT_EQ(Text(dir.path() / "real" / "doc.dat"), "through");
    EXPECT_EQ(Names(dir.path() / "real"), std::set<std::string>{"doc.dat"});

    // A link to a link, and a link whose file does not exist yet.
    fs::create_symlink(dir.path() / "link.dat", dir.path() / "link2.dat");
    ASSERT_TRUE(zr::WriteFileAtomically(dir.str("link2.dat"), std::string_view("twice")).ok());
    EXPECT_EQ(Text(dir.path() / "real" / "doc.dat"), "twice");
    fs::create_symlink("real/new.dat", dir.path() / "dangling.dat");
    ASSERT_TRUE(zr::WriteFileAtomically(dir.str("dangling.dat"), std::string_view("made")).ok());
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.dat"));
    EXPECT_EQ(Text(dir.path() / "real" / "new.dat"), "made");

    // A loop of links is an error, not a hang.
    fs::create_symlink("loop-b", dir.path() / "loop-a");
    fs::create_symlink("loop-a", dir.path() / "loop-b");
    EXPECT_FALSE(zr::WriteFileAtomically(dir.str("loop-a"), std::string_view("x")).ok());
}

TEST(AtomicFile, RefusesReadOnlyFilesFoldersAndDevices) {
    zrtest::TempDir dir;
    const fs::path ro = dir.path() / "locked.dat";
    Put(ro, "keep me");
    ::chmod(ro.c_str(), 0444);
    const zr::Result r = zr::WriteFileAtomically(ro.string(), std::string_view("lost"));
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message().find(std::string("locked.dat: ") + std::strerror(EACCES)), std::string::npos) << r.message();
    EXPECT_EQ(Text(ro), "keep me");
    // Through a link too.
    fs::create_symlink(ro, dir.path() / "to-locked.dat");
    EXPECT_FALSE(zr::WriteFileAtomically(dir.str("to-locked.dat"), std::string_view("lost")).ok());
    EXPECT_EQ(Text(ro), "keep me");

    fs::create_directory(dir.path() / "folder");
    EXPECT_FALSE(zr::WriteFileAtomically(dir.str("folder"), std::string_view("x")).ok());
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));

    ASSERT_EQ(::mkfifo(dir.str("pipe").c_str(), 0644), 0);
    EXPECT_FALSE(zr::WriteFileAtomically(dir.str("pipe"), std::string_view("x")).ok());
    EXPECT_TRUE(fs::is_fifo(dir.path() / "pipe"));

    EXPECT_FALSE(zr::WriteFileAtomically(dir.str("no-such-folder/x.dat"), std::string_view("x")).ok());
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"locked.dat", "to-locked.dat", "folder", "pipe"}));
}

TEST(AtomicFile, AFullDiskLeavesTheOldFileAndNoLeftovers) {
    zrtest::SmallTmpfs disk(64);
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    const std::string target = disk.str("sheet.pdf");
    Put(target, "the old sheet");
    disk.fill();
    const std::string big(16 * 1024, 'p');
    const zr::Result r = zr::WriteFileAtomically(target, big);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message().find(std::strerror(ENOSPC)), std::string::npos) << r.message();
    EXPECT_EQ(Text(target), "the old sheet");
    EXPECT_EQ(Names(disk.str()), (std::set<std::string>{"sheet.pdf", "filler"}));
}
