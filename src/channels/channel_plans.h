#pragma once
// The channel plans of the radio family's services: PMR446 (16 channels),
// FRS (22) and GMRS (22 and the 8 repeater pairs, whose input lies 5 MHz
// above their output). A plan is offered only when the document's band holds
// every frequency of it. Filling writes each plan channel through
// SetChannelItem, so the band clamp, raster and reference rules apply as
// they do to a typed channel; a filled channel takes the plan's RX, TX,
// name, bandwidth and (where the service limits it) power, and keeps its
// other items.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zr {

struct Session;

struct PlanChannel {
    std::string name;             // "PMR01", "GMRS15", "RPT15"
    int64_t rx = 0;               // 10 Hz units
    int64_t tx = 0;               // 10 Hz units
    int bandwidth = 0;            // 0 = 12.5 kHz, 1 = 20 kHz, 2 = 25 kHz
    std::optional<int> power;     // TxPower where the service limits it
};

struct ChannelPlan {
    std::string name;             // "PMR446", "FRS", "GMRS"
    std::vector<PlanChannel> channels;
};

// Every plan the program knows, in menu order.
const std::vector<ChannelPlan>& ChannelPlans();
// The plans whose frequencies all lie in the document's band.
std::vector<const ChannelPlan*> PlansForBand(const Session& s);
bool BandHoldsPlan(const Session& s, const ChannelPlan& plan);

struct PlanFill {
    std::vector<int> channels;    // channel numbers filled, in plan order
};

// Fills the plan into the given memory channels in their order (as many as
// both hold), or, with no channels given, into the first channels that are
// empty. Nothing happens for a plan the band does not hold.
PlanFill FillFromPlan(Session& s, const ChannelPlan& plan, const std::vector<int>& channels = {});

}  // namespace zr
