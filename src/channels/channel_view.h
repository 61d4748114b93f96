#pragma once
// What the channel windows show for a channel: the texts of the table's cells
// and the value lists behind them, taken from the run's language texts.

#include <initializer_list>
#include <string>
#include <vector>

#include "data/records.h"
#include "shell/session.h"

namespace zr {


// The 1075 entries of a tone list whose position 0 is language text noneText.
std::vector<std::string> ToneListTexts(const Session& s, int noneText);

// Language texts first..first+count-1 as list entries.
std::vector<std::string> TextList(const Session& s, std::initializer_list<int> numbers);

// Entry `value` of the list, or the first entry for a value outside it.
std::string ListEntryOr0(const std::vector<std::string>& list, int value);

// The auto-dial memory numbers that hold a code, ascending ("1".."16").
std::vector<std::string> AutoDialMemories(const Session& s);

// The table's value lists (the power, scan, optional-signalling and
// bandwidth columns).
struct TableLists {
    std::vector<std::string> tones, power, scan, signalling, bandwidth;
};
TableLists MakeTableLists(const Session& s);

// The TX column text of an existing channel (TX frequency, or the signed
// offset with useOffset); empty for a channel without an RX frequency.
std::string TxColumnText(const Session& s, const ChannelRecord& c, bool useOffset);

// The texts of columns 1..9 of the table row of channel c (index 0 unused),
// the TX column with the current UseOffset habit.
std::vector<std::string> ChannelRowTexts(const Session& s, const TableLists& lists, const ChannelRecord& c);

}  // namespace zr
