#pragma once
// The windows that show the document, as the rules of the core reach them.
//
// A window that shows channels or the settings that name channels subscribes
// itself to the session's DocumentViews for exactly its own lifetime (hold a
// ViewSubscription as a member). Whether a window is open is therefore its
// subscription: no flag that another window could set or clear. The rules
// publish what they changed to every subscribed view:
//   - channelChanged(n): SetChannelItem and the channel commands changed
//     channel n (created, changed or removed);
//   - channelsChanged(): many channels changed at once (import, batch,
//     ID code lengths, auto-dial memories);
//   - channelRefsChecked(): the channel references of the optional features
//     were re-checked;
//   - documentReplaced(): a new, opened or read document replaced the old.

#include <algorithm>
#include <vector>

namespace zr {

class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual void channelChanged(int /*channelNumber*/) {}
    virtual void channelsChanged() {}
    virtual void channelRefsChecked() {}
    virtual void documentReplaced() {}
};

class DocumentViews {
public:
    void subscribe(DocumentView* v) {
        if (v && std::find(views_.begin(), views_.end(), v) == views_.end()) views_.push_back(v);
    }
    void unsubscribe(DocumentView* v) { std::erase(views_, v); }
    bool subscribed(const DocumentView* v) const {
        return std::find(views_.begin(), views_.end(), v) != views_.end();
    }
    std::size_t size() const { return views_.size(); }

    // Calls f(view) for every view subscribed now, in the order they
    // subscribed; a view that unsubscribes meanwhile is not called.
    template <class F>
    void publish(F&& f) {
        const std::vector<DocumentView*> now = views_;
        for (DocumentView* v : now)
            if (subscribed(v)) f(*v);
    }

    void channelChanged(int n) { publish([n](DocumentView& v) { v.channelChanged(n); }); }
    void channelsChanged() { publish([](DocumentView& v) { v.channelsChanged(); }); }
    void channelRefsChecked() { publish([](DocumentView& v) { v.channelRefsChecked(); }); }
    void documentReplaced() { publish([](DocumentView& v) { v.documentReplaced(); }); }

private:
    std::vector<DocumentView*> views_;
};

// Subscribes a view for the lifetime of this object.
class ViewSubscription {
public:
    ViewSubscription(DocumentViews& views, DocumentView* view) : views_(views), view_(view) {
        views_.subscribe(view_);
    }
    ~ViewSubscription() { views_.unsubscribe(view_); }
    ViewSubscription(const ViewSubscription&) = delete;
    ViewSubscription& operator=(const ViewSubscription&) = delete;

private:
    DocumentViews& views_;
    DocumentView* view_;
};

struct WindowState {
    // The channel table's remembered current row and the edit window's row
    // (channel numbers 1..129).
    int tableCurrentRow = 1;
    int tableEditRow = 1;
    // The table's two in-place editing flags (cell editor shown, entry
    // being skipped); cleared by a new document.
    bool tableEditorShown = false;
    bool tableSkipEntry = false;

    DocumentViews views;   // the open windows that show the document
};

}  // namespace zr
