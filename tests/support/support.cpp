#include "support/support.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <QTest>
#include <atomic>
#include <clocale>
#include <fstream>
#include <random>
#include <vector>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace zrtest {

zr::Answer ScriptedPrompter::ask(const zr::Question& q) {
    asked.push_back(q);
    if (!answers.empty()) {
        zr::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    ++unscripted;
    const std::string failure = "unscripted question: \"" + q.text + "\"";
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << failure;
    else
        QTest::qFail(failure.c_str(), __FILE__, __LINE__);
    switch (q.buttons) {
    case zr::Buttons::Ok: return zr::Answer::Ok;
    case zr::Buttons::YesNo: return zr::Answer::No;
    default: return zr::Answer::Cancel;
    }
}

std::optional<std::string> ScriptedPrompter::chooseFile(const zr::FileDialogRequest& r) {
    fileRequests.push_back(r);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

std::optional<std::string> ScriptedPrompter::askPassword() {
    ++passwordRequests;
    if (passwords.empty()) return std::nullopt;
    auto p = passwords.front();
    passwords.pop_front();
    return p;
}

std::vector<std::string> ScriptedPrompter::texts() const {
    std::vector<std::string> out;
    for (const auto& q : asked) out.push_back(q.text);
    return out;
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto p = base / ("zrtest-" + std::to_string(::getpid()) + "-" +
                         std::to_string(counter++) + "-" + std::to_string(rd() % 100000));
        std::error_code ec;
        if (std::filesystem::create_directory(p, ec)) {
            path_ = p;
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::str(const std::string& name) const {
    return name.empty() ? path_.string() : (path_ / name).string();
}

CommaLocale::CommaLocale() {
    if (const char* now = std::setlocale(LC_ALL, nullptr)) saved_ = now;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
        if (!std::setlocale(LC_ALL, name)) continue;
        if (std::string(std::localeconv()->decimal_point) == ",") {
            active_ = true;
            return;
        }
    }
    std::setlocale(LC_ALL, saved_.c_str());
}

CommaLocale::~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }

void MakeInstallation(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    const fs::path src = sourceDir() / "install";
    fs::create_directories(root / "language");
    fs::create_directories(root / "V100");
    fs::copy_file(src / "Version.ini", root / "Version.ini");
    fs::copy_file(src / "language/mysetup.ini", root / "language/mysetup.ini");
    for (const char* d : {"language", "help", "PIC"}) fs::copy(src / d, root / "V100" / d, fs::copy_options::recursive);
    fs::remove(root / "V100/language/mysetup.ini");
}

SmallTmpfs::SmallTmpfs(int kilobytes) {
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    if (::mount("tmpfs", dir_.str().c_str(), "tmpfs", 0, options.c_str()) == 0) {
        mounted_ = true;
    } else {
        why_ = std::string("cannot mount a small tmpfs: ") + std::strerror(errno);
    }
}

SmallTmpfs::~SmallTmpfs() {
    if (mounted_) ::umount2(dir_.str().c_str(), MNT_DETACH);
}

void SmallTmpfs::fill(const std::string& name) const {
    const int fd = ::open(str(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    const std::vector<char> block(1024, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
}

std::filesystem::path sourceDir() { return ZR_SOURCE_DIR; }
std::filesystem::path binaryDir() { return ZR_BINARY_DIR; }

std::vector<unsigned char> readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& p, const std::vector<unsigned char>& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

QString shownTitle(const QWidget& w) {
    QString t = w.windowTitle();
    t.replace(QStringLiteral("[*]"), w.isWindowModified() ? QStringLiteral("*") : QString());
    return t;
}

}  // namespace zrtest
