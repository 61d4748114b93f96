#pragma once
// Facts about the serial devices of this system, for the port dialog, the
// connection report and the messages of a port that cannot be opened: the
// ports Qt lists with their USB details and /dev/serial/by-id/ names, the
// user's access to a device node, why an open fails (tried with open(2)),
// who holds a busy port (lock file, /proc), and the services that take USB
// serial adapters.

#include <string>
#include <vector>

#include "link/port_problems.h"
#include "link/port_report.h"

namespace zr {

// The present serial ports, numbered as "COM" n (link/port_names.h), in
// ascending order of n.
std::vector<link::PortFacts> ListPortFacts();

// The /dev/serial/by-id/ link (in `folder`) that names `device`; empty when
// none does.
std::string ByIdPath(const std::string& device, const std::string& folder = "/dev/serial/by-id");

link::DeviceAccess CheckDeviceAccess(const std::string& device);

// Tries to open the device itself and tells what stands in the way
// (problem None when nothing does).
link::PortFailure DiagnoseOpen(const std::string& device);

// Whether an open port's device went away (unplugged, or its other end
// closed): the node is missing or no longer opens.
bool DeviceGone(const std::string& device);

// "zrcps-cli (process 1234)" from a lock file LCK..<name> of a live process
// other than this one; empty when there is none.
std::string LockFileHolder(const std::string& device);
// The same from /proc: a process other than this one with the device open.
std::string ProcessHolding(const std::string& device);

// "brltty (running)", "ModemManager (installed)", ...
std::vector<std::string> SerialTakers();

std::string CurrentUserName();
std::vector<std::string> SessionGroupNames();

}  // namespace zr
