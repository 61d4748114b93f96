#include "link/port_problems.h"

#include <cerrno>

#include "shell/language.h"

namespace zr::link {

namespace {

// English wording of the texts, for a language file that lacks them.
const char* Fallback(int n) {
    switch (n) {
        case 9110: return "You may not use the serial port %1: it belongs to the group \"%2\", and you are not in that group.";
        case 9111: return "Add yourself to the group, then log out and back in:";
        case 9112: return "You were added to the group \"%1\", but this session started before that: log out and back in.";
        case 9113: return "Another program uses the serial port %1.";
        case 9114: return "It is held by %1.";
        case 9115: return "Close that program, then try again.";
        case 9116: return "The serial port %1 is gone: the cable was unplugged, or the system took the device away.";
        case 9117: return "On some systems brltty (a service for braille displays) or ModemManager takes USB serial adapters as soon as they are plugged in. Remove brltty, or tell ModemManager to leave the adapter alone, then plug the cable in again.";
        case 9118: return "Found on this system: %1.";
        case 9119: return "There is no serial port %1. Choose the port of the programming cable (Settings > Port, or --port).";
        case 9120: return "The serial port %1 cannot be opened: %2";
        case 9122: return "No serial port is chosen. Choose the port of the programming cable (Settings > Port, or --port).";
        case 9123: return "The device gives its group no access; ask the administrator for a udev rule that gives the cable to the group \"dialout\".";
        default: return "";
    }
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& i : items) out += (out.empty() ? "" : ", ") + i;
    return out;
}

}  // namespace

std::string LinkText(const Session& s, int n, const std::vector<std::string>& args) {
    std::string t = LanguageText(s, n);
    if (t.empty()) t = Fallback(n);
    std::string out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '%' && i + 1 < t.size() && t[i + 1] >= '1' && t[i + 1] <= '9') {
            const std::size_t k = static_cast<std::size_t>(t[i + 1] - '1');
            if (k < args.size()) out += args[k];
            ++i;
        } else {
            out += t[i];
        }
    }
    return out;
}

bool IsUsbSerialPath(const std::string& device) {
    return device.find("/ttyUSB") != std::string::npos || device.find("/ttyACM") != std::string::npos ||
           device.rfind("/dev/serial/", 0) == 0;
}

PortProblem ProblemOfOpenError(int err, const std::string& device) {
    switch (err) {
        case 0: return PortProblem::None;
        case EACCES:
        case EPERM: return PortProblem::Permission;
        case EBUSY: return PortProblem::Busy;
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case EIO: return IsUsbSerialPath(device) ? PortProblem::Gone : PortProblem::NotPresent;
        default: return PortProblem::Other;
    }
}

std::string PortFailureText(const Session& s, const PortFailure& f) {
    switch (f.problem) {
        case PortProblem::None: return {};
        case PortProblem::NoPortChosen: return LinkText(s, 9122);
        case PortProblem::Permission: {
            std::string t = LinkText(s, 9110, {f.device, f.group});
            if (!f.groupGivesAccess || f.group.empty() || f.group == "root") return t + "\n" + LinkText(s, 9123);
            if (f.joinedNotActive) return t + "\n" + LinkText(s, 9112, {f.group});
            return t + "\n" + LinkText(s, 9111) + "\n    sudo usermod -aG " + f.group + " $USER";
        }
        case PortProblem::Busy: {
            std::string t = LinkText(s, 9113, {f.device});
            if (!f.holder.empty()) t += "\n" + LinkText(s, 9114, {f.holder});
            return t + "\n" + LinkText(s, 9115);
        }
        case PortProblem::Gone: {
            std::string t = LinkText(s, 9116, {f.device}) + "\n" + LinkText(s, 9117);
            if (!f.takers.empty()) t += "\n" + LinkText(s, 9118, {Join(f.takers)});
            return t;
        }
        case PortProblem::NotPresent: return LinkText(s, 9119, {f.device});
        case PortProblem::Other: return LinkText(s, 9120, {f.device, f.systemError});
    }
    return {};
}

}  // namespace zr::link
