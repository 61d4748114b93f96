#pragma once
// The program with windows put together: the document controller, the main
// window on top of it, the serial link with its transfer engine bound to the
// controller, the check of writes, the port list of the port dialog and the
// demo radio. app/main.cpp and the tests build one of these.

#include <memory>
#include <string>

#include <QString>

namespace zr {

struct Session;
class DocumentController;
class QtWriteCheck;
class frmMain;
class QtLink;
class DemoRadio;

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

private:
    Session& s_;
    std::unique_ptr<DocumentController> controller_;
    std::unique_ptr<QtLink> link_;
    std::unique_ptr<QtWriteCheck> check_;
    std::unique_ptr<DemoRadio> demo_;
    std::unique_ptr<frmMain> window_;
};

}  // namespace zr
