#pragma once
// The trace of the windows: while the setting "Trace" is on, the engine
// records every transfer, and each transfer's trace is written to a file of
// its own ("20250101-120000-123-read.txt") in the traces folder when the
// transfer ends; the newest 50 are kept. The keeper sits between the engine
// and its observer and passes every call on, in the same order.

#include <QString>

#include "link/trace.h"
#include "link/transfer.h"

namespace zr {

struct Session;

// <state folder>/zrcps/traces: $XDG_STATE_HOME, else ~/.local/state.
QString DefaultTraceFolder();

class TraceKeeper : public link::TransferObserver {
public:
    TraceKeeper(Session& s, link::TransferEngine& engine, link::TransferObserver* next);

    // Reads the setting and attaches the trace to the engine, or detaches it.
    void applySetting();
    bool enabled() const { return enabled_; }
    void setFolder(const QString& folder) { folder_ = folder; }
    const QString& folder() const { return folder_; }
    // The file of the last transfer; empty when none was written.
    const QString& lastFile() const { return lastFile_; }
    // Why the last trace could not be written; empty when it was.
    const std::string& lastError() const { return lastError_; }

    void transferStarting(link::TransferKind k) override;
    void progressShown(link::TransferKind k, const std::string& caption) override;
    void progress(int percent) override;
    void progressReset() override;
    void progressClosed() override;
    void readReceived() override;
    void readDecoded() override;
    void transferEnded(link::TransferKind k, bool success) override;
    void endProgram() override;

private:
    void save(link::TransferKind k);
    Session& s_;
    link::TransferEngine& engine_;
    link::TransferObserver* next_;
    link::LinkTrace trace_;
    bool enabled_ = false;
    QString folder_;
    QString lastFile_;
    std::string lastError_;
};

}  // namespace zr
