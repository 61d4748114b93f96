#pragma once
// The refresh hook the channel operations call after every change: it passes
// each request on to whichever channel window is open.

#include "shell/window_state.h"

namespace zr {

class AppServices;

class ChannelViewsHub : public ChannelViews {
public:
    explicit ChannelViewsHub(AppServices& app) : app_(app) {}
    void reShowGrid(int channelNumber) override;
    void SetGridEditData(bool rIsGridChange) override;
    void resetForNewDocument() override;

    // Makes this hub the session's hook; release() hands the hook to another
    // open channel window's hub, or clears it.
    void install();
    void release();

private:
    AppServices& app_;
};

}  // namespace zr
