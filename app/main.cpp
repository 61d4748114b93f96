// zrcps: the programming program with windows.
//   zrcps               the program
//   zrcps FILE          the program with the document FILE open
//   zrcps --demo        the program with the demo radio chosen as its port
//   zrcps --self-test   starts, shows the main window, closes it as the user
//                       would and ends: a check that an installation works

#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include "files/new_document.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/program.h"
#include "platform/shell/qt_prompter.h"
#include "platform/shell/frm_main.h"
#include "shell/session.h"
#include "shell/startup.h"

namespace {

struct Options {
    bool demo = false;
    bool selfTest = false;
    std::string document;  // absolute path, or empty
};

// Reads the command line; --help (and a wrong option) print and end here.
Options ParseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Programming software for ZR-E271 PMR446/GMRS handheld radios.");
    parser.addHelpOption();
    const QCommandLineOption demo("demo", "Start the demo radio and choose it as the port.");
    const QCommandLineOption selfTest("self-test",
                                      "Start, show the main window, close it and end; prints what it did.");
    parser.addOption(demo);
    parser.addOption(selfTest);
    parser.addPositionalArgument("FILE", "A document (*.dat) to open.", "[FILE]");
    parser.process(app);
    Options o;
    o.demo = parser.isSet(demo);
    o.selfTest = parser.isSet(selfTest);
    if (!parser.positionalArguments().isEmpty())
        o.document = QFileInfo(parser.positionalArguments().first()).absoluteFilePath().toStdString();
    return o;
}

// Whether the command line only asks for help, which needs no display.
bool OnlyPrints(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* o : {"--help", "-h", "-?", "--help-all"})
            if (std::strcmp(argv[i], o) == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (OnlyPrints(argc, argv)) {
        QCoreApplication app(argc, argv);
        ParseOptions(app);  // prints and ends
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("zrcps");
    QApplication::setApplicationName("zrcps");
    QApplication::setDesktopFileName("zrcps");
    QApplication::setWindowIcon(QIcon(":/zrcps/icons/zrcps.svg"));
    const Options options = ParseOptions(app);

    zr::Session session;
    zr::QtPrompter prompter(session);
    session.prompter = &prompter;
    zr::StartupSteps steps;
    steps.buildDocument = [](zr::Session& s) { zr::NewDocument(s); };
    // The user's own settings, for an installation shared by several users.
    steps.userConfigFolder =
        (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/zrcps").toStdString();
    zr::Startup(session, QCoreApplication::applicationFilePath().toStdString(), steps);

    int rc = 0;
    {
        zr::Program program(session);
        prompter.setOwner(&program.window());
        program.start(options.demo, options.document);
        if (options.selfTest) {
            QTimer::singleShot(0, &program.window(), [&] {
                auto& w = program.window();
                const std::string folder = session.paths.userSettingsFolder.empty()
                                               ? session.paths.programFolder
                                               : session.paths.userSettingsFolder;
                std::printf("zrcps: main window %s: %s\nzrcps: settings kept in %s\n",
                            w.isVisible() ? "shown" : "NOT shown", w.windowTitle().toUtf8().constData(),
                            folder.c_str());
                std::fflush(stdout);
                if (!w.isVisible()) QCoreApplication::exit(1);
                w.close();
            });
        }
        rc = app.exec();
        zr::ExitBookkeeping(session, [&] { program.link().port().close(); });
        prompter.setOwner(nullptr);
    }
    return rc;
}
