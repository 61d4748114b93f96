#pragma once
// Renumbering of the memory channels as a whole: sort by RX frequency or by
// name, compact (close the gaps), and moving a set of channels to another
// place. Renumbering moves the channels, and every setting that names a
// memory channel (current, direct, priority and emergency channels) follows
// its channel to the new number. The VFO is never renumbered. Afterwards the
// references are re-checked and many channels are noted as changed in the
// document's changes.

#include <array>
#include <vector>

#include "data/records.h"

namespace zr {

struct Session;

// newNumber[old] for the memory channels 1..128; 0 keeps the number.
using ChannelRenumbering = std::array<int, kMemoryChannels + 1>;

enum class ChannelOrder { RxFrequency, Name, Compact };

// The channels take the numbers 1..k in the chosen order: by RX frequency
// (equal frequencies keep their order), by name (channels without a name
// last, then by RX), or in their present order (compact). True when any
// channel number changed.
bool ReorderChannels(Session& s, ChannelOrder order);

// Moves the given memory channels, in ascending order, so that they stand
// as one block in front of channel `before` (129: after the last memory
// channel); the channels in between close up. Returns the new numbers of
// the moved channels (empty when nothing moved).
std::vector<int> MoveChannelsBefore(Session& s, std::vector<int> channels, int before);

// Applies a renumbering (which must be one-to-one on the channels that
// exist) and lets the references follow.
void RenumberChannels(Session& s, const ChannelRenumbering& newNumber);

}  // namespace zr
