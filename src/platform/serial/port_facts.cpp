#include "platform/serial/port_facts.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSerialPortInfo>

#include "link/port_names.h"

namespace zr {

namespace fs = std::filesystem;

namespace {

std::string Canonical(const std::string& path) {
    std::error_code ec;
    const fs::path c = fs::canonical(path, ec);
    return ec ? path : c.string();
}

std::string ProcessName(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name.empty() ? "process " + std::to_string(pid) : name + " (process " + std::to_string(pid) + ")";
}

bool Alive(long pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

std::string GroupName(gid_t gid) {
    if (const group* g = ::getgrgid(gid)) return g->gr_name;
    return std::to_string(gid);
}

std::string ModeText(mode_t m) {
    std::string s = S_ISCHR(m) ? "c" : S_ISDIR(m) ? "d" : S_ISLNK(m) ? "l" : S_ISREG(m) ? "-" : "?";
    const char* rwx = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) s += (m & (0400 >> i)) ? rwx[i] : '-';
    return s;
}

bool ProcessHasGroup(gid_t gid) {
    if (::getegid() == gid) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(0, ::getgroups(0, nullptr))));
    const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(0, n), gid) != groups.begin() + std::max(0, n);
}

// The user is a member of the group in the group database (a session that
// started before "usermod -aG" lacks it).
bool UserListedInGroup(gid_t gid) {
    const passwd* pw = ::getpwuid(::geteuid());
    if (!pw) return false;
    if (pw->pw_gid == gid) return true;
    const group* g = ::getgrgid(gid);
    if (!g) return false;
    for (char** m = g->gr_mem; m && *m; ++m)
        if (std::strcmp(*m, pw->pw_name) == 0) return true;
    return false;
}

}  // namespace

std::string ByIdPath(const std::string& device, const std::string& folder) {
    std::error_code ec;
    const std::string target = Canonical(device);
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        std::error_code ec2;
        if (fs::canonical(e.path(), ec2) == target && !ec2) return e.path().string();
    }
    return {};
}

std::vector<link::PortFacts> ListPortFacts() {
    std::vector<std::string> devices;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const auto& info : infos) devices.push_back(info.systemLocation().toStdString());
    std::vector<link::PortFacts> out;
    for (const auto& e : link::NumberPorts(devices)) {
        link::PortFacts p;
        p.number = e.number;
        p.device = e.device;
        for (const auto& info : infos) {
            if (info.systemLocation().toStdString() != e.device) continue;
            p.description = info.description().toStdString();
            p.manufacturer = info.manufacturer().toStdString();
            p.serialNumber = info.serialNumber().toStdString();
            if (info.hasVendorIdentifier()) p.vendorId = info.vendorIdentifier();
            if (info.hasProductIdentifier()) p.productId = info.productIdentifier();
        }
        p.byId = ByIdPath(p.device);
        out.push_back(p);
    }
    return out;
}

link::DeviceAccess CheckDeviceAccess(const std::string& device) {
    link::DeviceAccess a;
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) return a;
    a.exists = true;
    a.mode = ModeText(st.st_mode);
    const passwd* pw = ::getpwuid(st.st_uid);
    a.owner = pw ? pw->pw_name : std::to_string(st.st_uid);
    a.group = GroupName(st.st_gid);
    a.root = ::geteuid() == 0;
    a.mayOpen = ::access(device.c_str(), R_OK | W_OK) == 0;
    a.inGroup = ProcessHasGroup(st.st_gid);
    a.joinedNotActive = !a.inGroup && UserListedInGroup(st.st_gid);
    a.groupGivesAccess = (st.st_mode & 060) == 060;
    return a;
}

bool DeviceGone(const std::string& device) {
    if (device.empty()) return false;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return errno == ENOENT || errno == ENODEV || errno == ENXIO || errno == EIO;
}

std::string LockFileHolder(const std::string& device) {
    // The lock file names of Qt and of the UUCP convention: LCK..ttyUSB0,
    // LCK..pts_3 for /dev/pts/3.
    std::string name = device.rfind("/dev/", 0) == 0 ? device.substr(5) : fs::path(device).filename().string();
    std::replace(name.begin(), name.end(), '/', '_');
    static const char* const kFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                           "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};
    for (const char* folder : kFolders) {
        std::ifstream in(std::string(folder) + "/LCK.." + name);
        if (!in) continue;
        long pid = 0;
        in >> pid;
        if (pid != ::getpid() && Alive(pid)) return ProcessName(pid);
    }
    return {};
}

std::string ProcessHolding(const std::string& device) {
    const std::string target = Canonical(device);
    std::error_code ec;
    for (const auto& proc : fs::directory_iterator("/proc", ec)) {
        const std::string pidText = proc.path().filename().string();
        if (pidText.empty() || !std::all_of(pidText.begin(), pidText.end(), ::isdigit)) continue;
        const long pid = std::stol(pidText);
        if (pid == ::getpid()) continue;
        std::error_code ec2;
        for (const auto& fd : fs::directory_iterator(proc.path() / "fd", ec2)) {
            std::error_code ec3;
            if (fs::read_symlink(fd.path(), ec3).string() == target && !ec3) return ProcessName(pid);
        }
    }
    return {};
}

link::PortFailure DiagnoseOpen(const std::string& device) {
    link::PortFailure f;
    f.device = device;
    if (device.empty()) {
        f.problem = link::PortProblem::NoPortChosen;
        return f;
    }
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const int err = fd < 0 ? errno : 0;
    if (fd >= 0) ::close(fd);
    f.problem = link::ProblemOfOpenError(err, device);
    f.systemError = err ? std::strerror(err) : "";
    switch (f.problem) {
        case link::PortProblem::None:
            // Open for this process, but another program may have locked it.
            f.holder = LockFileHolder(device);
            if (!f.holder.empty()) {
                f.problem = link::PortProblem::Busy;
                f.systemError = "locked";
            }
            break;
        case link::PortProblem::Permission: {
            const link::DeviceAccess a = CheckDeviceAccess(device);
            f.group = a.group;
            f.groupGivesAccess = a.groupGivesAccess;
            f.joinedNotActive = a.joinedNotActive;
            break;
        }
        case link::PortProblem::Busy:
            f.holder = LockFileHolder(device);
            if (f.holder.empty()) f.holder = ProcessHolding(device);
            break;
        case link::PortProblem::Gone: f.takers = SerialTakers(); break;
        default: break;
    }
    return f;
}

std::vector<std::string> SerialTakers() {
    bool brlttyRunning = false, modemManagerRunning = false;
    std::error_code ec;
    for (const auto& proc : fs::directory_iterator("/proc", ec)) {
        std::ifstream in(proc.path() / "comm");
        std::string name;
        if (!std::getline(in, name)) continue;
        if (name == "brltty") brlttyRunning = true;
        if (name == "ModemManager") modemManagerRunning = true;
    }
    auto installed = [](std::initializer_list<const char*> paths) {
        for (const char* p : paths)
            if (::access(p, F_OK) == 0) return true;
        return false;
    };
    std::vector<std::string> out;
    if (brlttyRunning) out.push_back("brltty (running)");
    else if (installed({"/usr/bin/brltty", "/bin/brltty", "/usr/lib/udev/rules.d/85-brltty.rules",
                        "/lib/udev/rules.d/85-brltty.rules"}))
        out.push_back("brltty (installed)");
    if (modemManagerRunning) out.push_back("ModemManager (running)");
    else if (installed({"/usr/sbin/ModemManager", "/sbin/ModemManager"})) out.push_back("ModemManager (installed)");
    return out;
}

std::string CurrentUserName() {
    if (const passwd* pw = ::getpwuid(::geteuid())) return pw->pw_name;
    return std::to_string(::geteuid());
}

std::vector<std::string> SessionGroupNames() {
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(0, ::getgroups(0, nullptr))));
    const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
    std::vector<std::string> out{GroupName(::getegid())};
    for (int i = 0; i < n; ++i) {
        const std::string g = GroupName(groups[static_cast<std::size_t>(i)]);
        if (std::find(out.begin(), out.end(), g) == out.end()) out.push_back(g);
    }
    return out;
}

}  // namespace zr
