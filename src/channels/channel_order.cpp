#include "channels/channel_order.h"

#include <algorithm>
#include <numeric>

#include "channels/channel_ops.h"
#include "data/freq_text.h"
#include "shell/mod_fun.h"
#include "shell/session.h"

namespace zr {
namespace {

bool IsMemory(int n) { return n >= 1 && n <= kMemoryChannels; }

// The memory channels that exist, by number.
std::vector<const ChannelRecord*> MemoryChannels(const Session& s) {
    std::vector<const ChannelRecord*> out;
    for (int n = 1; n <= kMemoryChannels; ++n)
        if (const ChannelRecord* c = FindChannelRecord(s, n)) out.push_back(c);
    return out;
}

std::string NameOf(const ChannelRecord& c) { return CleanText(c.ChannelName.text()); }
int64_t RxOf(const ChannelRecord& c) { return StoredFreqUnits(c.RxFreq.text()).value_or(INT64_MAX); }

template <class T>
void Follow(T& ref, const ChannelRenumbering& to) {
    const int n = ref;
    if (IsMemory(n) && to[static_cast<std::size_t>(n)] != 0) ref = static_cast<T>(to[static_cast<std::size_t>(n)]);
}

}  // namespace

void RenumberChannels(Session& s, const ChannelRenumbering& to) {
    ChannelList& l = s.doc.stored.Channels;
    const int count = std::clamp<int>(l.count, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        ChannelRecord& c = l.entries[static_cast<std::size_t>(i)];
        if (IsMemory(c.ChannelNumber) && to[static_cast<std::size_t>(c.ChannelNumber)] != 0)
            c.ChannelNumber = static_cast<int16_t>(to[static_cast<std::size_t>(c.ChannelNumber)]);
    }
    // The list in channel order, as a read from the radio gives it.
    std::stable_sort(l.entries.begin(), l.entries.begin() + count,
                     [](const ChannelRecord& a, const ChannelRecord& b) { return a.ChannelNumber < b.ChannelNumber; });

    OptFeatRecord& o = s.doc.stored.OptFeat;
    Follow(o.PriorityCh, to);
    Follow(o.UhfCurrentCh, to);
    Follow(o.DirectCh1, to);
    Follow(o.DirectCh2, to);
    Follow(s.doc.stored.Scan.PriorityCh1, to);
    Follow(s.doc.stored.Scan.PriorityCh2, to);
    Follow(s.doc.stored.Alert.EmgChannel, to);

    RevalidateChannelRefs(s);
    s.doc.changes.allChannels();
}

bool ReorderChannels(Session& s, ChannelOrder order) {
    std::vector<const ChannelRecord*> chs = MemoryChannels(s);
    if (order == ChannelOrder::RxFrequency) {
        std::stable_sort(chs.begin(), chs.end(),
                         [](const ChannelRecord* a, const ChannelRecord* b) { return RxOf(*a) < RxOf(*b); });
    } else if (order == ChannelOrder::Name) {
        std::stable_sort(chs.begin(), chs.end(), [](const ChannelRecord* a, const ChannelRecord* b) {
            const std::string na = NameOf(*a), nb = NameOf(*b);
            if (na.empty() != nb.empty()) return nb.empty();
            if (na != nb) return na < nb;
            return RxOf(*a) < RxOf(*b);
        });
    }
    ChannelRenumbering to{};
    bool changed = false;
    for (std::size_t i = 0; i < chs.size(); ++i) {
        const int from = chs[i]->ChannelNumber, next = static_cast<int>(i) + 1;
        to[static_cast<std::size_t>(from)] = next;
        changed = changed || from != next;
    }
    if (changed) RenumberChannels(s, to);
    return changed;
}

std::vector<int> MoveChannelsBefore(Session& s, std::vector<int> channels, int before) {
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    std::erase_if(channels, [](int n) { return !IsMemory(n); });
    if (channels.empty() || before < 1 || before > kMemoryChannels + 1) return {};

    // Rows 1..128 in their new order: the others with the block put in
    // front of `before`.
    std::vector<int> rows;
    for (int n = 1; n <= kMemoryChannels; ++n)
        if (!std::binary_search(channels.begin(), channels.end(), n)) rows.push_back(n);
    const auto at = std::find_if(rows.begin(), rows.end(), [&](int n) { return n >= before; });
    rows.insert(at, channels.begin(), channels.end());

    ChannelRenumbering to{};
    bool changed = false;
    std::vector<int> moved;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int from = rows[i], next = static_cast<int>(i) + 1;
        to[static_cast<std::size_t>(from)] = next;
        changed = changed || from != next;
        if (std::binary_search(channels.begin(), channels.end(), from)) moved.push_back(next);
    }
    if (!changed) return {};
    RenumberChannels(s, to);
    return moved;
}

}  // namespace zr
