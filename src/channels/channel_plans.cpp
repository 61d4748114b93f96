#include "channels/channel_plans.h"

#include <cstdio>

#include "channels/channel_ops.h"
#include "data/freq_text.h"
#include "data/records.h"
#include "shell/number_text.h"
#include "shell/session.h"

namespace zr {
namespace {

// Frequencies in 10 Hz units.
constexpr int64_t kStep12k5 = 1250;
constexpr int64_t kStep25k = 2500;
constexpr int64_t kRepeaterShift = 500000;   // +5 MHz
constexpr int kNarrow = 0, kWide20k = 1;
constexpr int kLowPower = 0;

std::string Numbered(const char* prefix, int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s%02d", prefix, n);
    return buf;
}

ChannelPlan Pmr446() {
    ChannelPlan p{"PMR446", {}};
    for (int n = 1; n <= 16; ++n) {
        const int64_t f = 44600625 + (n - 1) * kStep12k5;
        p.channels.push_back({Numbered("PMR", n), f, f, kNarrow, kLowPower});
    }
    return p;
}

// The 22 channels shared by FRS and GMRS: 1..7 from 462.5625 MHz and 8..14
// from 467.5625 MHz, 25 kHz apart; 15..22 from 462.550 MHz.
int64_t SharedChannel(int n) {
    if (n <= 7) return 46256250 + (n - 1) * kStep25k;
    if (n <= 14) return 46756250 + (n - 8) * kStep25k;
    return 46255000 + (n - 15) * kStep25k;
}

ChannelPlan Frs() {
    ChannelPlan p{"FRS", {}};
    for (int n = 1; n <= 22; ++n) {
        const int64_t f = SharedChannel(n);
        std::optional<int> power;
        if (n >= 8 && n <= 14) power = kLowPower;   // 0.5 W channels
        p.channels.push_back({Numbered("FRS", n), f, f, kNarrow, power});
    }
    return p;
}

ChannelPlan Gmrs() {
    ChannelPlan p{"GMRS", {}};
    for (int n = 1; n <= 22; ++n) {
        const int64_t f = SharedChannel(n);
        const bool interstitial = n >= 8 && n <= 14;
        std::optional<int> power;
        if (interstitial) power = kLowPower;
        p.channels.push_back({Numbered("GMRS", n), f, f, interstitial ? kNarrow : kWide20k, power});
    }
    for (int n = 15; n <= 22; ++n) {
        const int64_t out = SharedChannel(n);
        p.channels.push_back({Numbered("RPT", n), out, out + kRepeaterShift, kWide20k, std::nullopt});
    }
    return p;
}

std::string MHzText(int64_t units) { return FormatScaled(units, 5); }

// The first empty memory channels, as many as the plan has.
std::vector<int> FreeChannels(const Session& s, std::size_t wanted) {
    std::vector<int> out;
    for (int n = 1; n <= kMemoryChannels && out.size() < wanted; ++n)
        if (!FindChannel(s, n)) out.push_back(n);
    return out;
}

}  // namespace

const std::vector<ChannelPlan>& ChannelPlans() {
    static const std::vector<ChannelPlan> kPlans = {Pmr446(), Frs(), Gmrs()};
    return kPlans;
}

bool BandHoldsPlan(const Session& s, const ChannelPlan& plan) {
    const BandLimits band = LimitsOf(s.doc);
    const int64_t lo = LowerLimitUnits(band), hi = UpperLimitUnits(band);
    for (const PlanChannel& c : plan.channels)
        if (c.rx < lo || c.rx > hi || c.tx < lo || c.tx > hi) return false;
    return !plan.channels.empty();
}

std::vector<const ChannelPlan*> PlansForBand(const Session& s) {
    std::vector<const ChannelPlan*> out;
    for (const ChannelPlan& p : ChannelPlans())
        if (BandHoldsPlan(s, p)) out.push_back(&p);
    return out;
}

PlanFill FillFromPlan(Session& s, const ChannelPlan& plan, const std::vector<int>& channels) {
    PlanFill done;
    if (!BandHoldsPlan(s, plan)) return done;
    std::vector<int> targets;
    for (int n : channels)
        if (n >= 1 && n <= kMemoryChannels) targets.push_back(n);
    if (channels.empty()) targets = FreeChannels(s, plan.channels.size());

    // The TX is given as a frequency, whatever the user's offset habit.
    bool& useOffset = s.settings.habits.UseOffset;
    const bool userUseOffset = useOffset;
    useOffset = false;
    for (std::size_t i = 0; i < targets.size() && i < plan.channels.size(); ++i) {
        const PlanChannel& c = plan.channels[i];
        const int n = targets[i];
        SetChannelItem(s, n, item::kRxFreq, MHzText(c.rx));
        if (!FindChannel(s, n)) break;   // the channel list is full
        SetChannelItem(s, n, item::kTxFreq, MHzText(c.tx));
        SetChannelItem(s, n, item::kName, c.name);
        SetChannelItem(s, n, item::kBandwidth, c.bandwidth);
        if (c.power) SetChannelItem(s, n, item::kTxPower, *c.power);
        done.channels.push_back(n);
    }
    useOffset = userUseOffset;
    // The rows were drawn with the plan's offset habit: every window shows
    // the channels again with the user's own.
    s.doc.changes.allChannels();
    return done;
}

}  // namespace zr
