#pragma once
// A stand-in for the main window in the page window tests: it creates
// registered windows by name inside an MDI area and records help requests.

#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "control/document_controller.h"
#include "platform/channels/channel_command_runner.h"
#include "platform/channels/channel_focus.h"
#include "platform/shell/app_services.h"
#include "shell/session.h"
#include "support/support.h"

class FakeApp : public zr::AppServices {
public:
    zr::Session s;
    zr::DocumentController ctl{s};   // outlives the windows that listen to it
    zr::ChannelFocus focus;
    zr::ChannelCommandRunner commands{*this};
    QMdiArea area;
    QMap<QString, QPointer<QWidget>> open;
    QList<int> helpContexts;
    zrtest::ScriptedPrompter prompter;

    FakeApp() {
        s.paths.programFolder = (zrtest::sourceDir() / "install").string();
        s.prompter = &prompter;
        area.resize(1000, 800);
    }
    zr::Session& session() override { return s; }
    zr::DocumentController& controller() override { return ctl; }
    zr::ChannelFocus& channelFocus() override { return focus; }
    zr::ChannelCommandRunner& channelCommands() override { return commands; }
    QWidget* mainWidget() override { return &area; }
    QMdiArea* mdiArea() override { return &area; }
    QWidget* ShowChild(const QString& name) override {
        if (QWidget* w = FindChildWindow(name)) return w;
        auto f = zr::ChildWindowFactoryFor(name);
        if (!f) return nullptr;
        QWidget* w = f(*this);
        w->setObjectName(name);
        auto* sub = area.addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        open[name] = w;
        return w;
    }
    int ShowModal(const QString&) override { return 0; }
    QWidget* FindChildWindow(const QString& name) const override {
        auto it = open.find(name);
        return it == open.end() ? nullptr : it->data();
    }
    void UnloadByName(const QString& name) override {
        if (QWidget* w = FindChildWindow(name)) delete w->parentWidget();
    }
    void CloseCurAllWindows() override { area.closeAllSubWindows(); }
    void CloseCurAllOtherWindows(QWidget*) override {}
    void CascadeChildren() override {}
    void ShowMainTxt() override {}
    void LoadTree() override {}
    void LoadNewDoc() override {}
    void ShowCHInfo(bool) override {}
    void SetSaveEditData() override {}
    void StartChannelCommand(int) override {}
    void PopupChannelMenu(const QPoint&) override {}
    void ShowHelp(int context) override { helpContexts << context; }
    void StartRead() override {}
    void StartWrite() override {}
    void StartDealerRead() override {}
};
