#pragma once
// Small text and choice-list helpers shared by every page and dialog.
//
// ChoiceList is the program's model of a drop-down list: entries 0..count-1,
// an optional stored value per entry, the selected position (-1 for none) and
// a change callback that runs whenever a selection is made through
// SelectListText / SelectListAt / select(), just as a user's choice would run
// the page's storing rule. Qt combo boxes bind to it in src/platform.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// Trailing blanks removed, then cut before the first NUL ("AB  \0" -> "AB  ").
std::string CleanText(std::string_view text);

// The text as a whole number (rounded, halves to even, to a 32-bit number)
// when it is a number, else the default.
int32_t TextToNumber(std::string_view text, int32_t defaultValue);

// The part after the last path separator ("\" or "/"); the whole path when it
// holds none; empty when it ends in a separator.
std::string FileNamePart(std::string_view path);

struct ChoiceList {
    std::vector<std::string> entries;
    std::vector<int> values;        // stored value of each entry; empty: the position
    int selected = -1;
    std::function<void()> onChange; // runs after every selection

    int count() const { return static_cast<int>(entries.size()); }
    void clear() {
        entries.clear();
        values.clear();
        selected = -1;
    }
    void add(std::string text) { entries.push_back(std::move(text)); }
    void add(std::string text, int value);

    // The selected entry's text; empty when nothing is selected.
    std::string shownText() const;
    // Stored value of an entry (its position when no values were given).
    int valueAt(int position) const;
    // Position of the first entry with that stored value, or -1.
    int positionOfValue(int value) const;
    // Selects the entry with that stored value, else the first entry (or
    // nothing for an empty list). Runs onChange.
    void selectValue(int value);
    // Selects a position (-1 for none) and runs onChange.
    void select(int position);
    // The stored value of the selection, or fallback when nothing is selected.
    int selectedValue(int fallback) const;
};

int ListIndexOfText(const ChoiceList& list, std::string_view text, int defaultPosition);
std::string ListTextOfText(const ChoiceList& list, std::string_view text);
std::string ListTextAt(const ChoiceList& list, int position);
void SelectListText(ChoiceList& list, std::string_view text);
void SelectListAt(ChoiceList& list, int position);
// When an entry is selected, the shown text read as a 16-bit number.
void StoreListNumber(const ChoiceList& list, int16_t& destination);
void StoreListNumber(const ChoiceList& list, uint8_t& destination);
// When an entry is selected, its position.
void StoreListPosition(const ChoiceList& list, int16_t& destination);
void StoreListPosition(const ChoiceList& list, uint8_t& destination);
// A stored value above 1 becomes 0 in place; returns the box state (true =
// checked) for the normalised value. Negative values show unchecked.
bool ShowCheck(int16_t& stored);
bool ShowCheck(uint8_t& stored);

}  // namespace zr
