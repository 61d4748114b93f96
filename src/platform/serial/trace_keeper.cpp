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

TraceKeeper::TraceKeeper(Session& s, link::TransferEngine& engine, link::TransferObserver* next)
    : s_(s), engine_(engine), next_(next), folder_(DefaultTraceFolder()) {}

void TraceKeeper::applySetting() {
    enabled_ = link::LoadTraceSetting(s_);
    engine_.setTrace(enabled_ ? &trace_ : nullptr);
    trace_.clear();
}

void TraceKeeper::transferStarting(link::TransferKind k) {
    if (next_) next_->transferStarting(k);
}
void TraceKeeper::progressShown(link::TransferKind k, const std::string& caption) {
    if (next_) next_->progressShown(k, caption);
}
void TraceKeeper::progress(int percent) {
    if (next_) next_->progress(percent);
}
void TraceKeeper::progressReset() {
    if (next_) next_->progressReset();
}
void TraceKeeper::progressClosed() {
    if (next_) next_->progressClosed();
}

void TraceKeeper::readReceived() {
    if (next_) next_->readReceived();
}
void TraceKeeper::readDecoded() {
    if (next_) next_->readDecoded();
}
void TraceKeeper::endProgram() {
    if (next_) next_->endProgram();
}

void TraceKeeper::transferEnded(link::TransferKind k, bool success) {
    if (enabled_) save(k);
    if (next_) next_->transferEnded(k, success);
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
