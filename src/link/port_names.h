#pragma once
// Serial port names "COM" n and the devices behind them.
//
// The port choice keeps a number n (`comPort` in mysetup.ini, section
// "language"). On Linux the numbers are given to devices in fixed ranges, so
// that a number keeps naming the same device when others come and go:
//
//   /dev/ttyS<k>    -> COM k+1        (k = 0..99,  COM1..COM100)
//   /dev/ttyUSB<k>  -> COM 101+k      (k = 0..99,  COM101..COM200)
//   /dev/ttyACM<k>  -> COM 201+k      (k = 0..54,  COM201..COM255)
//   any other device present (ttyAMA*, rfcomm*, ...) -> COM 256 on, in
//   the sorted order of the device names (stable while the set is stable)
//
// Any device path can also be named directly (a pseudo-terminal, a symlink
// in /dev/serial/by-id/): it is kept under key "PortPath" of the same
// section and, when set, is used instead of the number.

#include <string>
#include <vector>

#include "shell/result.h"

namespace zr {
struct Session;
}

namespace zr::link {

// The number of a port name: its text after the first three characters (at
// most three digits, blanks removed); 0 when it holds no number.
int PortNumberFromName(const std::string& name);

std::string PortName(int number);   // "COM" n

struct PortEntry {
    int number = 0;          // n of "COM" n
    std::string name;        // "COM" n
    std::string device;      // "/dev/ttyUSB0"
};

// Numbers the present devices (names such as "ttyUSB0" or "/dev/ttyUSB0") by
// the rule above; the result is in ascending order of the numbers.
std::vector<PortEntry> NumberPorts(const std::vector<std::string>& devices);

// The device for a number among the present devices; for the fixed ranges
// the device path even when the device is not listed; empty otherwise.
std::string DeviceForNumber(int number, const std::vector<std::string>& devices);

// The device path named by the user (key "PortPath"); empty when none.
std::string StoredPortPath(const Session& s);
// Keeps a device path; an empty path returns to the numbered port.
Result StorePortPath(const Session& s, const std::string& path);
// The number "comPort" of mysetup.ini as it is stored (0 when missing), for
// programs that only read the choice of the windows.
int StoredComPort(const Session& s);

}  // namespace zr::link
