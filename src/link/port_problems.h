#pragma once
// Why a serial port could not be opened, or went away, and what the user can
// do about it, in the language texts of the program. The facts come from the
// platform (platform/serial/port_facts.h); the words are made here:
//
//   permission  the device's group and the remedy "sudo usermod -aG GROUP
//               $USER, then log out and back in" (never chmod, never root)
//   busy        another program holds the port, named when a lock file or
//               /proc tells which
//   gone        the device vanished: unplugged, or taken by brltty or
//               ModemManager on some systems
//   not present there is no such device

#include <string>
#include <vector>

namespace zr {
struct Session;
}

namespace zr::link {

enum class PortProblem { None, NoPortChosen, Permission, Busy, Gone, NotPresent, Other };

struct PortFailure {
    PortProblem problem = PortProblem::None;
    std::string device;            // the device that was tried
    std::string group;             // Permission: the device's group
    bool groupGivesAccess = true;  // Permission: the group may read and write the device
    bool joinedNotActive = false;  // Permission: the user is in the group, this session not yet
    std::string holder;            // Busy: "minicom (process 1234)"; empty when unknown
    std::string systemError;       // the system's own words ("Device or resource busy")
    std::vector<std::string> takers;   // Gone: "brltty (installed)", "ModemManager (running)"
};

// The problem an error number of open(2) on `device` stands for. A USB
// serial device (ttyUSB, ttyACM, a /dev/serial/ name) that does not answer
// is gone; any other missing device is not present.
PortProblem ProblemOfOpenError(int errorNumber, const std::string& device);
bool IsUsbSerialPath(const std::string& device);

// What happened and what to do, several lines.
std::string PortFailureText(const Session& s, const PortFailure& f);

// Language text n with %1, %2, ... replaced by the arguments; the English
// wording when the language file has no text n.
std::string LinkText(const Session& s, int n, const std::vector<std::string>& args = {});

}  // namespace zr::link
