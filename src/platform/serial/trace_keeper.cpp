#include "platform/serial/trace_keeper.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include "shell/session.h"

namespace zr {

QString DefaultTraceFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/zrcps/traces");
}

TraceKeeper::TraceKeeper(Session& s, link::TransferEngine& engine, DocumentListeners& events)
    : s_(s), engine_(engine), folder_(DefaultTraceFolder()), subscription_(events, this) {}

void TraceKeeper::applySetting() {
    enabled_ = link::LoadTraceSetting(s_);
    engine_.setTrace(enabled_ ? &trace_ : nullptr);
    trace_.clear();
}

void TraceKeeper::transferEnded(link::TransferKind k, bool) {
    if (enabled_) save(k);
}

void TraceKeeper::save(link::TransferKind k) {
    if (trace_.empty()) return;
    QDir().mkpath(folder_);
    QString kind = QString::fromLatin1(link::TransferKindName(k)).replace(QLatin1Char(' '), QLatin1Char('-'));
    const QString name = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
                         QLatin1Char('-') + kind + QStringLiteral(".txt");
    const QString path = QDir(folder_).filePath(name);
    const Result r = trace_.save(QFile::encodeName(path).toStdString());
    trace_.clear();
    lastError_ = r.ok() ? std::string() : r.message();
    if (!r) return;
    lastFile_ = path;
    // The newest 50 traces stay.
    const QStringList all = QDir(folder_).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (int i = 50; i < all.size(); ++i) QFile::remove(QDir(folder_).filePath(all[i]));
}

}  // namespace zr
