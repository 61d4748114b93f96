#include "link/port_report.h"

#include <cstdio>

#include "data/bands.h"
#include "link/port_names.h"

namespace zr::link {

namespace {

std::string Hex4(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", v & 0xFFFF);
    return buf;
}

std::string Hex2(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v & 0xFF);
    return buf;
}

std::string Indent(const std::string& text, const std::string& pad) {
    std::string out = pad;
    for (char c : text) {
        out += c;
        if (c == '\n') out += pad;
    }
    return out;
}

}  // namespace

std::string PortLine(const PortFacts& p) {
    std::string s = PortName(p.number) + " - " + p.device;
    if (!p.description.empty()) s += " - " + p.description;
    return s;
}

std::vector<std::string> PortDetails(const PortFacts& p) {
    std::vector<std::string> out;
    std::string line = p.manufacturer;
    if (p.vendorId >= 0 && p.productId >= 0)
        line += (line.empty() ? "" : ", ") + std::string("USB ") + Hex4(p.vendorId) + ":" + Hex4(p.productId);
    if (!p.serialNumber.empty()) line += (line.empty() ? "" : ", ") + std::string("serial ") + p.serialNumber;
    if (!line.empty()) out.push_back(line);
    if (!p.byId.empty()) out.push_back(p.byId);
    return out;
}

std::string AccessLine(const DeviceAccess& a) {
    if (!a.exists) return "the device node does not exist";
    std::string s = a.mode + " " + a.owner + " " + a.group + ": ";
    if (a.root) return s + "you are root and may open it (the program is meant to run as an ordinary user)";
    if (a.mayOpen) return s + "you may read and write it" + (a.inGroup ? " (group " + a.group + ")" : "");
    if (a.joinedNotActive) return s + "you are in the group " + a.group + ", but this session is not: log out and back in";
    if (!a.groupGivesAccess || a.group == "root") return s + "you may not open it, and its group gives no access";
    return s + "you may not open it: you are not in the group " + a.group + " (sudo usermod -aG " + a.group +
           " $USER, then log out and back in)";
}

std::string FormatConnectionReport(const Session& s, const ConnectionReport& r) {
    std::string out = "Connection check\n";
    out += "program: " + r.program + "\n";
    out += "user: " + r.user + "; groups of this session:";
    for (std::size_t i = 0; i < r.groups.size(); ++i) out += (i ? ", " : " ") + r.groups[i];
    out += "\n\nserial ports:\n";
    if (r.ports.empty()) out += "  none found (is the cable plugged in?)\n";
    for (std::size_t i = 0; i < r.ports.size(); ++i) {
        out += "  " + PortLine(r.ports[i]) + "\n";
        for (const auto& d : PortDetails(r.ports[i])) out += "      " + d + "\n";
        if (i < r.access.size()) out += "      " + AccessLine(r.access[i]) + "\n";
    }
    out += "\nservices that take USB serial adapters: ";
    if (r.takers.empty()) out += "none found\n";
    for (std::size_t i = 0; i < r.takers.size(); ++i) out += r.takers[i] + (i + 1 < r.takers.size() ? ", " : "\n");

    out += "\nport tried: ";
    if (r.chosen.empty()) {
        PortFailure none;
        none.problem = PortProblem::NoPortChosen;
        out += "none\n" + Indent(PortFailureText(s, none), "  ") + "\n";
    } else {
        out += r.chosen + (r.chosenHow.empty() ? "" : " (" + r.chosenHow + ")") + "\n";
        if (r.openFailure) {
            out += "  opened: no\n" + Indent(PortFailureText(s, *r.openFailure), "  ") + "\n";
        } else if (r.tried) {
            out += "  opened: yes\n";
            if (r.answered) {
                const std::string band = BandText(r.ident.band);
                out += "  radio: answered; model " + r.ident.model + ", band " + std::to_string(r.ident.band) +
                       (band.empty() ? " (unknown)" : " (" + band + ")") + ", firmware " + r.ident.version +
                       ", flags " + Hex2(r.ident.flags) + "\n";
            } else {
                out += "  radio: no answer. Check that the radio is switched on, that the cable sits firmly in "
                       "the radio's socket and that this is the port of the cable.\n";
            }
        }
    }
    if (!r.traceFolder.empty()) out += "\ntraces of transfers: " + r.traceFolder + "\n";
    out += std::string("\nresult: ") + (r.ok() ? "the radio answers on this port" : "no connection to the radio") + "\n";
    return out;
}

}  // namespace zr::link
