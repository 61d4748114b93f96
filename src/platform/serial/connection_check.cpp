#include "platform/serial/connection_check.h"

#include <QCoreApplication>

#include "platform/serial/port_facts.h"
#include "platform/serial/qt_link.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

namespace {

// Every question gets the answer that stops; nothing is shown.
class StopPrompter : public Prompter {
public:
    Answer ask(const Question& q) override {
        switch (q.buttons) {
            case Buttons::Ok: return Answer::Ok;
            case Buttons::YesNo: return Answer::No;
            default: return Answer::Cancel;
        }
    }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> askPassword() override { return std::nullopt; }
};

}  // namespace

void RunUntilIdle(link::TransferEngine& e) {
    e.writeNow();
    while (e.busy()) {
        if (e.kind() == link::TransferKind::None) {
            e.decodeNow();
            continue;
        }
        // Sleeps until the port or a timer has something; the overload with a
        // time limit would not wait and would spin the processor instead.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

link::ConnectionReport CheckConnection(Session& s, QtLink& link, const std::string& how,
                                       const std::string& program) {
    link::ConnectionReport r;
    r.program = program;
    r.user = CurrentUserName();
    r.groups = SessionGroupNames();
    r.ports = ListPortFacts();
    for (const auto& p : r.ports) r.access.push_back(CheckDeviceAccess(p.device));
    r.takers = SerialTakers();
    r.chosen = link.port().resolveDevice(s.settings.comPort);
    r.chosenHow = how;
    if (r.chosen.empty()) return r;

    const link::PortFailure f = DiagnoseOpen(r.chosen);
    if (f.problem != link::PortProblem::None) {
        r.openFailure = f;
        return r;
    }
    auto& engine = link.engine();
    if (engine.busy()) return r;
    StopPrompter quiet;
    Prompter* const real = s.prompter;
    s.prompter = &quiet;
    if (engine.startIdentify()) {
        r.tried = true;
        RunUntilIdle(engine);
        r.answered = engine.lastSucceeded();
        r.ident = engine.identification();
    } else if (link.port().lastFailure().problem != link::PortProblem::None) {
        r.openFailure = link.port().lastFailure();
    }
    s.prompter = real;
    return r;
}

}  // namespace zr
