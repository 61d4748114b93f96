#include "channels/channel_commands.h"

#include <algorithm>

#include <cmath>
#include <cstdio>

#include "channels/channel_ops.h"

namespace zr {

namespace {

ChannelList& channels(Session& s) { return s.doc.stored.Channels; }

bool isMemory(int n) { return n >= 1 && n <= kMemoryChannels; }

}  // namespace

bool ChannelCommandStates::enabled(int command) const {
    switch (command) {
    case kCmdCut: return cut;
    case kCmdCopy: return copy;
    case kCmdPaste: return paste;
    case kCmdInsert: return insert;
    case kCmdDelete: return del;
    case kCmdMoveUp: return moveUp;
    case kCmdMoveDown: return moveDown;
    default: return false;
    }
}

ChannelCommandStates UpdateChannelCommands(const Session& s, int n) {
    ChannelCommandStates st;
    const bool hasFreq = n >= 1 && n <= kVfoChannel && ChannelHasFrequency(s, n);
    st.cut = isMemory(n) && hasFreq;
    st.copy = hasFreq;
    st.paste = s.clipboard.hasChannel;
    st.insert = st.del = st.moveUp = st.moveDown = isMemory(n);
    return st;
}

bool ApplyConfirmAnswer(EditingHabits& h, ConfirmMode mode, const ConfirmAnswer& a) {
    if (!a.answered) return false;
    if (mode == ConfirmMode::Paste) {
        h.PasteInsert = a.yes;
        h.PasteNoAsk = a.dontAskAgain;
    } else {
        h.DeleteRemove = a.yes;
        h.DeleteNoAsk = a.dontAskAgain;
    }
    return true;
}

void CopyChannel(Session& s, int n) {
    const auto pos = FindChannel(s, n);
    if (!pos) return;
    s.clipboard.record = channels(s).entries[*pos];
    s.clipboard.hasChannel = true;
}

void CutChannel(Session& s, ChannelCommandHost& host, int n) {
    CopyChannel(s, n);
    DeleteChannel(s, host, n);
}

void PasteChannel(Session& s, ChannelCommandHost& host, int n) {
    if (!isMemory(n) || !s.clipboard.hasChannel) return;
    EditingHabits& h = s.settings.habits;
    if (!h.PasteNoAsk) {
        ApplyConfirmAnswer(h, ConfirmMode::Paste, host.confirm(ConfirmMode::Paste));
    }
    if (h.PasteInsert && !InsertChannel(s, host, n)) return;

    const ChannelRecord clip = s.clipboard.record;
    if (clip.IsEmpty != 0) {
        RemoveChannel(s, n);
    } else if (const auto pos = FindChannel(s, n)) {
        channels(s).entries[*pos] = clip;
        channels(s).entries[*pos].ChannelNumber = static_cast<int16_t>(n);
    } else {
        ChannelList& list = channels(s);
        if (list.count < kMaxChannels) {
            list.entries[list.count] = clip;
            list.entries[list.count].ChannelNumber = static_cast<int16_t>(n);
            ++list.count;
        }
    }
    s.doc.changes.channel(n);
}

int CopyChannelBlock(Session& s, const std::vector<int>& rows) {
    std::vector<ChannelRecord> block;
    for (int n : rows)
        if (const ChannelRecord* c = FindChannelRecord(s, n)) block.push_back(*c);
    std::sort(block.begin(), block.end(),
              [](const ChannelRecord& a, const ChannelRecord& b) { return a.ChannelNumber < b.ChannelNumber; });
    if (block.empty()) return 0;
    s.clipboard.block = block;
    s.clipboard.record = block.front();
    s.clipboard.hasChannel = true;
    return static_cast<int>(block.size());
}

std::vector<int> PasteChannelBlock(Session& s, int n) {
    std::vector<int> written;
    const auto& block = s.clipboard.block;
    if (!isMemory(n) || block.empty()) return written;
    const int first = block.front().ChannelNumber;
    for (const ChannelRecord& r : block) {
        const int to = n + (r.ChannelNumber - first);
        if (!isMemory(to)) continue;
        ChannelList& list = channels(s);
        if (const auto pos = FindChannel(s, to)) {
            list.entries[*pos] = r;
            list.entries[*pos].ChannelNumber = static_cast<int16_t>(to);
        } else if (list.count < kMaxChannels) {
            list.entries[list.count] = r;
            list.entries[list.count].ChannelNumber = static_cast<int16_t>(to);
            ++list.count;
        } else {
            continue;
        }
        written.push_back(to);
        s.doc.changes.channel(to);
    }
    RevalidateChannelRefs(s);
    return written;
}

bool InsertChannel(Session& s, ChannelCommandHost& host, int n) {
    if (!isMemory(n)) return false;
    // The last memory channel falls off the end: never without asking.
    if (FindChannel(s, kMemoryChannels) && !host.allowLosingLastChannel()) return false;
    ChannelList& list = channels(s);
    int i = 0;
    while (i < list.count) {
        const int num = list.entries[i].ChannelNumber;
        if (num == kMemoryChannels) {
            DeleteChannelAt(s, i);  // the next record moves into place i
            continue;
        }
        if (num >= n && num <= kMemoryChannels - 1) ++list.entries[i].ChannelNumber;
        ++i;
    }
    RemoveChannel(s, n);
    s.doc.changes.allChannels();
    return true;
}

void DeleteChannel(Session& s, ChannelCommandHost& host, int n) {
    EditingHabits& h = s.settings.habits;
    if (!h.DeleteNoAsk) {
        ApplyConfirmAnswer(h, ConfirmMode::Delete, host.confirm(ConfirmMode::Delete));
    }
    if (!h.DeleteRemove) return;
    if (isMemory(n)) RemoveChannel(s, n);
    s.doc.changes.channel(n);
}

namespace {

int swapChannels(Session& s, int n, int t) {
    ChannelList& list = channels(s);
    for (int i = 0; i < list.count; ++i) {
        ChannelRecord& r = list.entries[i];
        if (r.ChannelNumber == n) r.ChannelNumber = static_cast<int16_t>(t);
        else if (r.ChannelNumber == t) r.ChannelNumber = static_cast<int16_t>(n);
    }
    s.doc.changes.channel(n);
    s.doc.changes.channel(t);
    RevalidateChannelRefs(s);
    return t;
}

}  // namespace

int MoveChannelUp(Session& s, int n) {
    if (!isMemory(n)) return n;
    return swapChannels(s, n, n == 1 ? kMemoryChannels : n - 1);
}

int MoveChannelDown(Session& s, int n) {
    if (!isMemory(n)) return n;
    return swapChannels(s, n, n == kMemoryChannels ? 1 : n + 1);
}

int VisibleRowsFor(double tableHeight, double rowHeight) {
    if (rowHeight <= 0) return 1;
    const double v = std::nearbyint(tableHeight / rowHeight - 4.0);  // default mode: half to even
    return v < 1 ? 1 : static_cast<int>(v);
}

int TopRowAfterMoveUp(int t, int top, int visible) {
    if (t < top || t >= top + visible) return t;
    return top;
}

int TopRowAfterMoveDown(int t, int top, int visible) {
    if (t < top) return 1;
    while (t >= top + visible) ++top;
    return top;
}


}  // namespace zr
