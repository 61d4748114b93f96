#pragma once
// The trace of the windows: while the setting "Trace" is on, the engine
// records every transfer, and each transfer's trace is written to a file of
// its own ("20250101-120000-123-read.txt") in the traces folder when the
// transfer ends; the newest 50 are kept. The engine records the frames
// through its trace hook; the keeper hears of the end of a transfer as a
// listener of the document controller, which stays the engine's one
// observer.

#include <QString>

#include "control/document_events.h"
#include "link/trace.h"
#include "link/transfer.h"

namespace zr {

struct Session;

// <state folder>/zrcps/traces: $XDG_STATE_HOME, else ~/.local/state.
QString DefaultTraceFolder();

class TraceKeeper : private DocumentListener {
public:
    // Listens to `events` (the controller's listeners) while it lives.
    TraceKeeper(Session& s, link::TransferEngine& engine, DocumentListeners& events);
    ~TraceKeeper() override { engine_.setTrace(nullptr); }
    TraceKeeper(const TraceKeeper&) = delete;
    TraceKeeper& operator=(const TraceKeeper&) = delete;

    // Reads the setting and attaches the trace to the engine, or detaches it.
    void applySetting();
    bool enabled() const { return enabled_; }
    void setFolder(const QString& folder) { folder_ = folder; }
    const QString& folder() const { return folder_; }
    // The file of the last transfer; empty when none was written.
    const QString& lastFile() const { return lastFile_; }
    // Why the last trace could not be written; empty when it was.
    const std::string& lastError() const { return lastError_; }

private:
    void transferEnded(link::TransferKind k, bool success) override;
    void save(link::TransferKind k);
    Session& s_;
    link::TransferEngine& engine_;
    link::LinkTrace trace_;
    bool enabled_ = false;
    QString folder_;
    QString lastFile_;
    std::string lastError_;
    ListenerSubscription subscription_;   // last: goes first
};

}  // namespace zr
