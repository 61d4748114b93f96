// Replacing the head of a file: what survives a failed write.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

#include "files/file_io.h"
#include "support/support.h"

using namespace zr;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> pattern(std::size_t n, uint8_t seed) {
    std::vector<uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + i * 13);
    return v;
}

std::vector<unsigned char> asBytes(const std::vector<uint8_t>& v) { return {v.begin(), v.end()}; }

int filesIn(const fs::path& dir) {
    int n = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++n;
    return n;
}

// Limits the size of files this process may write, as a full disk would;
// writes beyond it fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }

private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

}  // namespace

TEST(ReplaceFileHead, CreatesReplacesAndKeepsTheTail) {
    zrtest::TempDir dir;
    const auto path = dir.str("x.bin");
    auto head = pattern(100, 1);
    ASSERT_TRUE(ReplaceFileHead(path, head));
    EXPECT_EQ(zrtest::readBytes(path), asBytes(head));

    // Shorter old file: replaced whole.
    auto head2 = pattern(150, 2);
    ASSERT_TRUE(ReplaceFileHead(path, head2));
    EXPECT_EQ(zrtest::readBytes(path), asBytes(head2));

    // Longer old file: bytes beyond the head stay.
    auto old = pattern(400, 3);
    zrtest::writeBytes(path, asBytes(old));
    ASSERT_TRUE(ReplaceFileHead(path, head));
    auto now = zrtest::readBytes(path);
    ASSERT_EQ(now.size(), 400u);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), now.begin()));
    EXPECT_TRUE(std::equal(old.begin() + 100, old.end(), now.begin() + 100));

    // No temporary file is left behind.
    EXPECT_EQ(filesIn(dir.path()), 1);
}

TEST(ReplaceFileHead, KeepsPermissionsAndFollowsLinks) {
    zrtest::TempDir dir;
    const auto real = dir.str("real.bin");
    zrtest::writeBytes(real, asBytes(pattern(10, 4)));
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, dir.path() / "link.bin");

    ASSERT_TRUE(ReplaceFileHead(dir.str("link.bin"), pattern(20, 5)));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.bin"));
    EXPECT_EQ(zrtest::readBytes(real), asBytes(pattern(20, 5)));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ReplaceFileHead, AFailedWriteLeavesTheOldFileIntact) {
    zrtest::TempDir dir;
    const auto path = dir.str("doc.dat");
    auto old = pattern(3000, 6);
    zrtest::writeBytes(path, asBytes(old));

    {
        // The disk "fills up" after 1000 bytes of the new content.
        FileSizeLimit limit(1000);
        const Result r = ReplaceFileHead(path, pattern(2000, 7));
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.message().rfind(path + ": ", 0), 0u) << r.message();   // names the file and why
    }
    EXPECT_EQ(zrtest::readBytes(path), asBytes(old));
    EXPECT_EQ(filesIn(dir.path()), 1);

    // A folder that does not exist, and a target that is a folder.
    EXPECT_FALSE(ReplaceFileHead(dir.str("no/such/folder.dat"), pattern(10, 8)));
    fs::create_directory(dir.path() / "sub");
    EXPECT_FALSE(ReplaceFileHead(dir.str("sub"), pattern(10, 8)));
    EXPECT_TRUE(fs::is_directory(dir.path() / "sub"));
    EXPECT_EQ(filesIn(dir.path()), 2);
}

TEST(ReadFileHead, ReadsAtMostTheAskedBytes) {
    zrtest::TempDir dir;
    zrtest::writeBytes(dir.str("f"), asBytes(pattern(50, 9)));
    std::vector<uint8_t> out;
    ASSERT_TRUE(ReadFileHead(dir.str("f"), 16, out));
    const auto all = pattern(50, 9);
    EXPECT_EQ(out, std::vector<uint8_t>(all.begin(), all.begin() + 16));
    ASSERT_TRUE(ReadFileHead(dir.str("f"), 500, out));
    EXPECT_EQ(out.size(), 50u);
    EXPECT_FALSE(ReadFileHead(dir.str("none"), 16, out));
}
