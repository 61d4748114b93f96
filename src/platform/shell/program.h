#pragma once
// The program with windows put together: the document controller, the main
// window on top of it, the serial link with its transfer engine bound to the
// controller, the check of writes, the port dialog with its port list, the
// demo radio, the connection check and the trace of transfers. app/main.cpp
// and the tests build one of these.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "link/port_report.h"

namespace zr {

struct Session;
class DocumentController;
class QtWriteCheck;
class frmMain;
class QtLink;
class DemoRadio;
class TraceKeeper;

class Program {
public:
    explicit Program(Session& s);
    ~Program();

    // Loads and shows the main window; with `demo`, the demo radio is
    // started and chosen as the port first. A `document` path is then
    // opened as File Open opens it (a file manager starts the program so).
    void start(bool demo, const std::string& document = {});

    frmMain& window() { return *window_; }
    DocumentController& controller() { return *controller_; }
    QtLink& link() { return *link_; }
    DemoRadio& demo() { return *demo_; }
    // Starts the demo radio and makes it the port of the next transfers;
    // false (with a message) when it cannot be started.
    bool useDemoRadio();

    // Settings > Port, and the status bar's text of the port in use:
    // "Port COM n", the device path, or "Demo radio". A port kept by its
    // by-id name is looked up among the ports once, when it is chosen (or
    // first shown), not on every refresh.
    void choosePort();
    QString portInUseText() const;
    // Program > Check connection: runs the check and shows the report.
    void checkConnection();
    link::ConnectionReport connectionReport();

    // The serial ports the port dialog offers (the system's unless set).
    void setPortSource(std::function<std::vector<link::PortFacts>()> source) {
        portSource_ = std::move(source);
        storedShown_.reset();
    }
    // Where traces of transfers go (the user's state folder unless set).
    void setTraceFolder(const QString& folder);
    QString traceFolder() const;

private:
    std::vector<link::PortFacts> ports() const;
    QString storedPortText(const std::string& stored) const;
    struct StoredPortShown {
        std::string path;
        QString text;
    };
    Session& s_;
    std::unique_ptr<DocumentController> controller_;
    std::unique_ptr<QtLink> link_;
    std::unique_ptr<QtWriteCheck> check_;
    std::unique_ptr<DemoRadio> demo_;
    std::unique_ptr<frmMain> window_;
    std::unique_ptr<TraceKeeper> traces_;
    std::function<std::vector<link::PortFacts>()> portSource_;
    mutable std::optional<StoredPortShown> storedShown_;
};

}  // namespace zr
