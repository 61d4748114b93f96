#pragma once
// The serial ports as the user sees them, and the connection report of
// Program > Check connection and "zrcps-cli doctor": every port with its
// details and the user's access to it, the user's groups, the services that
// take USB serial adapters, and what happened on the port that was tried.
// Plain text meant to be pasted into a bug report.

#include <optional>
#include <string>
#include <vector>

#include "link/port_problems.h"
#include "link/protocol.h"

namespace zr {
struct Session;
}

namespace zr::link {

// One serial device of the system.
struct PortFacts {
    int number = 0;               // n of "COM" n (port_names.h)
    std::string device;           // "/dev/ttyUSB0"
    std::string description;      // "FT232R USB UART"
    std::string manufacturer;     // "FTDI"
    std::string serialNumber;
    int vendorId = -1;            // USB vendor and product, -1 when none
    int productId = -1;
    std::string byId;             // "/dev/serial/by-id/usb-FTDI_..."; empty when none
};

// "COM101 - /dev/ttyUSB0 - FT232R USB UART" (without the description when
// there is none), as the port dialog and "zrcps-cli ports" show a port.
std::string PortLine(const PortFacts& p);
// The details below it: "FTDI, USB 0403:6001, serial A50285BI" and the
// by-id name; empty lines are left out.
std::vector<std::string> PortDetails(const PortFacts& p);

// What the user may do with a device node.
struct DeviceAccess {
    bool exists = false;
    std::string mode;             // "crw-rw----"
    std::string owner, group;
    bool mayOpen = false;         // read and write allowed for this process
    bool inGroup = false;         // the process has the device's group
    bool joinedNotActive = false; // the user is listed in the group, the session lacks it
    bool groupGivesAccess = false;
    bool root = false;
};

// One line on the access: "crw-rw---- root dialout: you may read and write it".
std::string AccessLine(const DeviceAccess& a);

struct ConnectionReport {
    std::string program;                  // "zrcps-cli 1.0.0 (...)"
    std::string user;
    std::vector<std::string> groups;      // of this session
    std::vector<PortFacts> ports;
    std::vector<DeviceAccess> access;     // one per port
    std::vector<std::string> takers;      // "brltty (installed)", "ModemManager (running)"
    std::string chosen;                   // the device tried; empty: none chosen
    std::string chosenHow;                // "--port", "Settings > Port: COM101", ...
    std::optional<PortFailure> openFailure;   // set when the port could not be opened
    bool tried = false;                   // the handshake was tried
    bool answered = false;                // the radio identified itself
    Identification ident;
    std::string traceFolder;              // where traces go; empty: not shown
    bool ok() const { return tried && answered; }
};

std::string FormatConnectionReport(const Session& s, const ConnectionReport& r);

}  // namespace zr::link
