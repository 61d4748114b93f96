#pragma once
// Building blocks shared by the settings pages: a drop-down list as the pages
// see it (entries, selected position, enabled state), the lists of channel
// numbers the pages offer, and the keyboard filters of their text boxes.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/records.h"

namespace zr::pages {

// Language text lookup by number.
using TextFn = std::function<std::string(int)>;

struct Choice {
    std::vector<std::string> entries;
    int selected = -1;   // -1: nothing selected
    bool enabled = true;

    int count() const { return static_cast<int>(entries.size()); }
    bool hasSelection() const { return selected >= 0 && selected < count(); }
    std::string shown() const { return hasSelection() ? entries[selected] : std::string(); }
    // First entry equal to text, or -1.
    int find(const std::string& text) const;
    // Selects the entry at pos, the first entry when pos is out of range,
    // nothing when the list is empty. Returns the selected position.
    int selectAt(int pos);
    // Selects the first entry equal to text, else the first entry; nothing
    // when the list is empty. Returns the selected position.
    int selectText(const std::string& text);
    // Text at pos, or the first entry when out of range, or "" when empty.
    std::string textAt(int pos) const;
};

// Entries "from" .. "to" as decimal texts.
std::vector<std::string> NumberTexts(int from, int to, const std::string& suffix = {});
// Values first, first + step, ... count entries, divided by ten and shown as "0.0".
std::vector<std::string> TenthsTexts(int first, int count);

// The text read as a whole number (decimal, optional sign); fallback otherwise.
int ParseInt(const std::string& text, int fallback);

// Numbers of the memory channels (1..128) in the channel list, ascending.
std::vector<int> MemoryChannelsInUse(const ChannelList& list);
// Numbers 1..20 of the FM broadcast channels that hold a frequency.
std::vector<int> FmChannelsInUse(const std::array<FmChannel, kFmChannels>& fm);
// Every channel number of the channel list (VFO included), ascending, as texts.
void FillChannelList(Choice& list, const ChannelList& channels);

// Keyboard filters of the page text boxes. Given a typed character code, they
// return the code to insert (possibly changed) or 0 to discard it. Control
// codes pass except Ctrl+C, Ctrl+V and Ctrl+X (3, 22, 24).
int FilterAsciiKey(int code);       // every 7-bit character
int FilterPowerOnKey(int code);     // letters and digits
int FilterDtmfCodeKey(int code);    // 0-9 * # A-D, a-d turned into A-D
int FilterFmKey(int code);          // digits and "."
int FilterDigitKey(int code);       // digits only

}  // namespace zr::pages
