// zrcps: the programming program with windows.
//   zrcps          the program
//   zrcps --demo   the program with the demo radio chosen as its port

#include <cstring>

#include <QApplication>

#include "files/new_document.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/program.h"
#include "platform/shell/qt_prompter.h"
#include "platform/shell/frm_main.h"
#include "shell/session.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("zrcps");
    QApplication::setApplicationName("zrcps");
    bool demo = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--demo") == 0) demo = true;

    zr::Session session;
    zr::QtPrompter prompter(session);
    session.prompter = &prompter;
    zr::Startup(session, QCoreApplication::applicationFilePath().toStdString(),
                [](zr::Session& s) { zr::NewDocument(s); });

    int rc = 0;
    {
        zr::Program program(session);
        prompter.setOwner(&program.window());
        program.start(demo);
        rc = app.exec();
        zr::ExitBookkeeping(session, [&] { program.link().port().close(); });
        prompter.setOwner(nullptr);
    }
    return rc;
}
