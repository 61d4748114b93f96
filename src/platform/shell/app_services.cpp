#include "platform/shell/app_services.h"

#include <map>

#include <QStringList>

namespace zr {

namespace {
std::map<QString, ChildWindowFactory>& registry() {
    static std::map<QString, ChildWindowFactory> r;
    return r;
}
}  // namespace

void RegisterChildWindow(const QString& name, ChildWindowFactory factory) {
    registry()[name] = std::move(factory);
}

ChildWindowFactory ChildWindowFactoryFor(const QString& name) {
    auto it = registry().find(name);
    return it == registry().end() ? ChildWindowFactory{} : it->second;
}

QStringList RegisteredChildWindows() {
    QStringList out;
    for (const auto& [name, f] : registry()) out << name;
    return out;
}

}  // namespace zr
