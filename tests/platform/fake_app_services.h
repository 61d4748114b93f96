#pragma once
// A stand-in for the main window in window tests: creates registered windows
// as plain top-level widgets and records what the windows asked of it.

#include <QDialog>
#include <QMap>
#include <QPointer>
#include <QWidget>
#include <filesystem>

#include "control/document_controller.h"
#include "platform/channels/channel_command_runner.h"
#include "platform/channels/channel_focus.h"
#include "platform/shell/app_services.h"
#include "shell/session.h"
#include "support/support.h"

namespace zrtest {

class FakeAppServices : public zr::AppServices {
public:
    zr::Session& s;
    QMap<QString, QPointer<QWidget>> windows;
    QList<bool> chInfoShown;
    int treeLoads = 0;
    QList<int> helpContexts;
    QList<QPoint> popups;

    zr::DocumentController ctl{s};
    zr::ChannelFocus focus;
    zr::ChannelCommandRunner commands{*this};

    explicit FakeAppServices(zr::Session& session) : s(session) {
        QObject::connect(&focus, &zr::ChannelFocus::editWindowRequested, [this] { ShowChild("FrmCHInfoEdit"); });
    }
    ~FakeAppServices() override {
        for (auto& w : windows)
            if (w) delete w.data();
    }

    zr::Session& session() override { return s; }
    zr::DocumentController& controller() override { return ctl; }
    zr::ChannelFocus& channelFocus() override { return focus; }
    zr::ChannelCommandRunner& channelCommands() override { return commands; }
    QWidget* mainWidget() override { return nullptr; }
    QMdiArea* mdiArea() override { return nullptr; }
    QWidget* ShowChild(const QString& name) override {
        if (QWidget* w = FindChildWindow(name)) {
            w->raise();
            return w;
        }
        auto f = zr::ChildWindowFactoryFor(name);
        if (!f) return nullptr;
        QWidget* w = f(*this);
        w->setObjectName(name);
        windows[name] = w;
        w->show();
        return w;
    }
    int ShowModal(const QString& name) override {
        auto f = zr::ChildWindowFactoryFor(name);
        if (!f) return 0;
        auto* d = qobject_cast<QDialog*>(f(*this));
        if (!d) return 0;
        const int r = d->exec();
        delete d;
        return r;
    }
    QWidget* FindChildWindow(const QString& name) const override {
        auto it = windows.find(name);
        return it == windows.end() ? nullptr : it.value().data();
    }
    void UnloadByName(const QString& name) override {
        if (QWidget* w = FindChildWindow(name)) w->close();
    }
    void CloseCurAllWindows() override {
        for (auto& w : windows)
            if (w) w->close();
    }
    void CloseCurAllOtherWindows(QWidget*) override {}
    void CascadeChildren() override {}
    void ShowMainTxt() override {}
    void LoadTree() override { ++treeLoads; }
    void LoadNewDoc() override {}
    void ShowCHInfo(bool show) override { chInfoShown << show; }
    void SetSaveEditData() override {}
    void StartChannelCommand(int) override {}
    void PopupChannelMenu(const QPoint& p) override { popups << p; }
    void ShowHelp(int context) override { helpContexts << context; }
    void StartRead() override {}
    void StartWrite() override {}
    void StartDealerRead() override {}
};

// A session whose program folder is a temporary folder holding the shipped
// English texts.
inline void PrepareSession(zr::Session& s, const TempDir& dir, zr::Prompter* prompter) {
    namespace fs = std::filesystem;
    s.paths.programFolder = dir.str();
    fs::create_directories(dir.path() / "language");
    fs::copy_file(sourceDir() / "install" / "language" / "english.ini", dir.path() / "language" / "english.ini",
                  fs::copy_options::overwrite_existing);
    s.settings.languageFile = "english.ini";
    s.prompter = prompter;
}

inline zr::ChannelRecord MakeChannel(int n, const char* rx = "46256250") {
    zr::ChannelRecord c;
    c.ChannelNumber = static_cast<int16_t>(n);
    c.RxFreq.set(rx);
    c.Offset.set("0000000");
    c.IdCode.set("000");
    c.IdCodeLength = 10;
    return c;
}

inline void AddChannel(zr::Session& s, const zr::ChannelRecord& c) {
    auto& l = s.doc.stored.Channels;
    l.entries[l.count++] = c;
}

inline const zr::ChannelRecord* Channel(const zr::Session& s, int n) {
    const auto& l = s.doc.stored.Channels;
    for (int i = 0; i < l.count; ++i)
        if (l.entries[i].ChannelNumber == n) return &l.entries[i];
    return nullptr;
}

}  // namespace zrtest
