// zrcps: the programming program with windows.
//   zrcps               the program
//   zrcps FILE          the program with the document FILE open
//   zrcps --demo        the program with the demo radio chosen as its port
//   zrcps --self-test   starts, shows the main window, closes it as the user
//                       would and ends: a check that an installation works
// Options and help are those of its manual (shell/manual.cpp).

#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include "common/command_line.h"
#include "control/document_controller.h"
#include "control/settings_notice.h"
#include "files/new_document.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/program.h"
#include "platform/shell/qt_prompter.h"
#include "platform/shell/frm_main.h"
#include "shell/manual.h"
#include "shell/session.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    namespace manual = zr::manual;
    // --help and --version answer without a display.
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(manual::HelpText(manual::Gui()).c_str(), stdout);
            return manual::kExitDone;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::fputs(manual::VersionText(manual::Gui()).c_str(), stdout);
            return manual::kExitDone;
        }
    }
    QApplication app(argc, argv);   // takes Qt's own options out of argv
    QApplication::setOrganizationName("zrcps");
    QApplication::setApplicationName("zrcps");
    QApplication::setDesktopFileName("zrcps");
    QApplication::setWindowIcon(QIcon(":/zrcps/icons/zrcps.svg"));
    const auto args = zr::cmdline::Parse(manual::Gui().options, zr::cmdline::Words(argc, argv, 1), false);
    if (!args.ok || args.positional.size() > 1) {
        std::fprintf(stderr, "zrcps: %s\nTry \"zrcps --help\".\n",
                     args.ok ? ("unexpected argument \"" + args.positional[1] + "\"").c_str() : args.error.c_str());
        return manual::kExitUsage;
    }
    const bool demo = args.has("demo"), selfTest = args.has("self-test");
    const std::string document =
        args.positional.empty()
            ? std::string()
            : QFileInfo(QString::fromLocal8Bit(args.positional.front().c_str())).absoluteFilePath().toStdString();

    zr::Session session;
    zr::QtPrompter prompter(session);
    session.prompter = &prompter;
    zr::StartupSteps steps;
    // The new document's messages come before the window; a switch of
    // versions chosen here leaves this program running.
    steps.buildDocument = [](zr::Session& s) { zr::TellOpenOutcome(s, zr::NewDocument(s)); };
    // The user's own settings, for an installation shared by several users.
    steps.userConfigFolder =
        (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/zrcps").toStdString();
    zr::TellSettingNotStored(session,
                             zr::Startup(session, QCoreApplication::applicationFilePath().toStdString(), steps));

    int rc = 0;
    {
        zr::Program program(session);
        prompter.setOwner(&program.window());
        program.start(demo, document);
        if (selfTest) {
            QTimer::singleShot(0, &program.window(), [&] {
                auto& w = program.window();
                const std::string folder = session.paths.userSettingsFolder.empty()
                                               ? session.paths.programFolder
                                               : session.paths.userSettingsFolder;
                // The title as the window shows it: "[*]" is the unsaved mark.
                QString title = w.windowTitle();
                title.replace(QStringLiteral("[*]"), w.isWindowModified() ? QStringLiteral("*") : QString());
                std::printf("zrcps: main window %s: %s\nzrcps: settings kept in %s\n",
                            w.isVisible() ? "shown" : "NOT shown", title.toUtf8().constData(),
                            folder.c_str());
                std::fflush(stdout);
                if (!w.isVisible()) QCoreApplication::exit(1);
                w.close();
            });
        }
        rc = app.exec();
        zr::TellSettingNotStored(session, zr::ExitBookkeeping(session, [&] { program.link().port().close(); }));
        prompter.setOwner(nullptr);
    }
    return rc;
}
