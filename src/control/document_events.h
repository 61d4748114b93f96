#pragma once
// The events of the document controller and the listeners that take them.
//
// A listener subscribes for as long as it wants to hear (hold a
// ListenerSubscription as a member) and overrides the events it cares
// about; the others do nothing. Events are published on the one thread of
// the program, in the order they happened; a listener that unsubscribes
// while an event is being published is not called any more.

#include <algorithm>
#include <string>
#include <vector>

#include "data/document_changes.h"
#include "link/transfer.h"

namespace zr {

class DocumentListener {
public:
    virtual ~DocumentListener() = default;

    // Take the value being edited into the document now: a command is
    // about to look at the document (change check, save, transfer).
    virtual void commitEdits() {}
    // The document is about to be replaced: what shows it may close.
    virtual void documentClosing() {}
    // A new, opened or read document is there (or, after a failed open,
    // the kept one is shown again): show it from scratch.
    virtual void documentReplaced() {}
    // Channel n (1..129) was created, changed or removed.
    virtual void channelChanged(int /*channelNumber*/) {}
    // Many channels changed at once: renumbered, reordered, imported.
    virtual void channelsChanged() {}
    // A settings record changed (for OptFeat: also the channels its lists
    // offer, after the channel references were checked again).
    virtual void settingsChanged(SettingsRecord) {}
    // An undo or redo put an earlier state of the document back (the channel
    // and settings events for it came first): show it again where you stand.
    virtual void documentRestored() {}
    // The file name, the never-saved flag or the modified state changed.
    virtual void titleChanged() {}
    // The editing habits changed (UseOffset shows TX as an offset).
    virtual void habitsChanged() {}

    // Transfers: a read, write or dealer read starts (before anything is
    // asked; edits were committed); its progress shows (the caption of the
    // progress window), moves in percent (0 again after a retry) and closes;
    // the transfer ends after its closing message.
    virtual void transferStarted(link::TransferKind) {}
    virtual void transferProgressShown(link::TransferKind, const std::string& /*caption*/) {}
    virtual void transferProgress(int /*percent*/) {}
    virtual void transferProgressClosed() {}
    virtual void transferEnded(link::TransferKind, bool /*success*/) {}
    // A read's image was decoded into the document.
    virtual void readDecoded() {}

    // The program must end now (the user chose another program version).
    virtual void programEnding() {}
};

class DocumentListeners {
public:
    void subscribe(DocumentListener* l) {
        if (l && std::find(list_.begin(), list_.end(), l) == list_.end()) list_.push_back(l);
    }
    void unsubscribe(DocumentListener* l) { std::erase(list_, l); }
    bool subscribed(const DocumentListener* l) const {
        return std::find(list_.begin(), list_.end(), l) != list_.end();
    }
    std::size_t size() const { return list_.size(); }

    // Calls f(listener) for every listener subscribed now, in the order
    // they subscribed; one that unsubscribes meanwhile is skipped.
    template <class F>
    void publish(F&& f) {
        const std::vector<DocumentListener*> now = list_;
        for (DocumentListener* l : now)
            if (subscribed(l)) f(*l);
    }

private:
    std::vector<DocumentListener*> list_;
};

// Subscribes a listener for the lifetime of this object.
class ListenerSubscription {
public:
    ListenerSubscription(DocumentListeners& to, DocumentListener* l) : to_(to), l_(l) { to_.subscribe(l_); }
    ~ListenerSubscription() { to_.unsubscribe(l_); }
    ListenerSubscription(const ListenerSubscription&) = delete;
    ListenerSubscription& operator=(const ListenerSubscription&) = delete;

private:
    DocumentListeners& to_;
    DocumentListener* l_;
};

}  // namespace zr
