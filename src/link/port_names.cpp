#include "link/port_names.h"

#include <algorithm>

#include "shell/session.h"
#include "shell/settings_files.h"

namespace zr::link {

namespace {

std::string BaseName(const std::string& device) {
    const auto slash = device.rfind('/');
    return slash == std::string::npos ? device : device.substr(slash + 1);
}

// k of prefix<k>, or -1.
int Suffix(const std::string& base, const std::string& prefix) {
    if (base.size() <= prefix.size() || base.compare(0, prefix.size(), prefix) != 0) return -1;
    int k = 0;
    for (std::size_t i = prefix.size(); i < base.size(); ++i) {
        if (base[i] < '0' || base[i] > '9') return -1;
        k = k * 10 + (base[i] - '0');
        if (k > 9999) return -1;
    }
    return k;
}

int FixedNumber(const std::string& base) {
    if (int k = Suffix(base, "ttyS"); k >= 0 && k <= 99) return k + 1;
    if (int k = Suffix(base, "ttyUSB"); k >= 0 && k <= 99) return 101 + k;
    if (int k = Suffix(base, "ttyACM"); k >= 0 && k <= 54) return 201 + k;
    return 0;
}

std::string DevicePath(const std::string& device) {
    return device.find('/') == std::string::npos ? "/dev/" + device : device;
}

}  // namespace

int PortNumberFromName(const std::string& name) {
    if (name.size() <= 3) return 0;
    std::string digits;
    for (std::size_t i = 3; i < name.size() && digits.size() < 3; ++i) {
        if (name[i] == ' ') continue;
        if (name[i] < '0' || name[i] > '9') break;
        digits.push_back(name[i]);
    }
    if (digits.empty()) return 0;
    return std::stoi(digits);
}

std::string PortName(int number) { return "COM" + std::to_string(number); }

std::vector<PortEntry> NumberPorts(const std::vector<std::string>& devices) {
    std::vector<PortEntry> out;
    std::vector<std::string> others;
    for (const auto& d : devices) {
        const int n = FixedNumber(BaseName(d));
        if (n > 0) out.push_back({n, PortName(n), DevicePath(d)});
        else others.push_back(DevicePath(d));
    }
    std::sort(others.begin(), others.end());
    others.erase(std::unique(others.begin(), others.end()), others.end());
    int next = 256;
    for (const auto& d : others) {
        if (next > 999) break;
        out.push_back({next, PortName(next), d});
        ++next;
    }
    std::sort(out.begin(), out.end(), [](const PortEntry& a, const PortEntry& b) { return a.number < b.number; });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const PortEntry& a, const PortEntry& b) { return a.number == b.number; }),
              out.end());
    return out;
}

std::string DeviceForNumber(int number, const std::vector<std::string>& devices) {
    for (const auto& e : NumberPorts(devices))
        if (e.number == number) return e.device;
    if (number >= 1 && number <= 100) return "/dev/ttyS" + std::to_string(number - 1);
    if (number >= 101 && number <= 200) return "/dev/ttyUSB" + std::to_string(number - 101);
    if (number >= 201 && number <= 255) return "/dev/ttyACM" + std::to_string(number - 201);
    return {};
}

std::string StoredPortPath(const Session& s) {
    if (s.paths.installRoot.empty()) return {};
    return ReadSetupKey(s, "PortPath");
}

Result StorePortPath(const Session& s, const std::string& path) {
    if (s.paths.installRoot.empty()) return Result::Failed("no installation folder to keep the port in");
    return WriteSetupKey(s, "PortPath", path);
}

int StoredComPort(const Session& s) {
    if (s.paths.installRoot.empty()) return 0;
    const std::string v = ReadSetupKey(s, "comPort");
    if (v.empty() || v.size() > 5 || v.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoi(v);
}

}  // namespace zr::link
