#include "shell/mod_fun.h"

#include <limits>

#include "shell/number_text.h"

namespace zr {

std::string CleanText(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    return std::string(text);
}

int32_t TextToNumber(std::string_view text, int32_t defaultValue) {
    auto v = ParseScaled(text, 0);
    if (!v) return defaultValue;
    if (*v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<int32_t>::max())
        return defaultValue;
    return static_cast<int32_t>(*v);
}

std::string FileNamePart(std::string_view path) {
    std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos) return std::string(path);
    return std::string(path.substr(cut + 1));
}

void ChoiceList::add(std::string text, int value) {
    // Keep values aligned with entries once any value is given.
    while (values.size() < entries.size()) values.push_back(static_cast<int>(values.size()));
    entries.push_back(std::move(text));
    values.push_back(value);
}

std::string ChoiceList::shownText() const {
    if (selected < 0 || selected >= count()) return {};
    return entries[static_cast<std::size_t>(selected)];
}

int ChoiceList::valueAt(int position) const {
    if (position >= 0 && position < static_cast<int>(values.size()))
        return values[static_cast<std::size_t>(position)];
    return position;
}

int ChoiceList::positionOfValue(int value) const {
    for (int i = 0; i < count(); ++i)
        if (valueAt(i) == value) return i;
    return -1;
}

void ChoiceList::selectValue(int value) {
    int p = positionOfValue(value);
    select(p >= 0 ? p : (count() > 0 ? 0 : -1));
}

void ChoiceList::select(int position) {
    selected = (position >= 0 && position < count()) ? position : -1;
    if (onChange) onChange();
}

int ChoiceList::selectedValue(int fallback) const {
    if (selected < 0 || selected >= count()) return fallback;
    return valueAt(selected);
}

int ListIndexOfText(const ChoiceList& list, std::string_view text, int defaultPosition) {
    if (list.count() == 0 || text.empty()) return defaultPosition;
    for (int i = 0; i < list.count(); ++i)
        if (list.entries[static_cast<std::size_t>(i)] == text) return i;
    return 0;
}

std::string ListTextOfText(const ChoiceList& list, std::string_view text) {
    if (list.count() == 0) return {};
    for (const auto& e : list.entries)
        if (e == text) return e;
    return list.entries[0];
}

std::string ListTextAt(const ChoiceList& list, int position) {
    if (list.count() == 0) return {};
    if (position < 0 || position >= list.count()) return list.entries[0];
    return list.entries[static_cast<std::size_t>(position)];
}

namespace {
void SelectShownText(ChoiceList& list, const std::string& t) {
    if (t.empty() && list.count() == 0) {
        list.select(-1);
        return;
    }
    // Showing a text selects the first entry with that text.
    for (int i = 0; i < list.count(); ++i)
        if (list.entries[static_cast<std::size_t>(i)] == t) {
            list.select(i);
            return;
        }
    list.select(-1);
}
}  // namespace

void SelectListText(ChoiceList& list, std::string_view text) {
    SelectShownText(list, ListTextOfText(list, text));
}

void SelectListAt(ChoiceList& list, int position) {
    SelectShownText(list, ListTextAt(list, position));
}

void StoreListNumber(const ChoiceList& list, int16_t& destination) {
    if (list.selected < 0 || list.selected >= list.count()) return;
    int32_t v = TextToNumber(list.shownText(), 0);
    if (v < std::numeric_limits<int16_t>::min()) v = std::numeric_limits<int16_t>::min();
    if (v > std::numeric_limits<int16_t>::max()) v = std::numeric_limits<int16_t>::max();
    destination = static_cast<int16_t>(v);
}

void StoreListNumber(const ChoiceList& list, uint8_t& destination) {
    if (list.selected < 0 || list.selected >= list.count()) return;
    int32_t v = TextToNumber(list.shownText(), 0);
    destination = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

void StoreListPosition(const ChoiceList& list, int16_t& destination) {
    if (list.selected < 0 || list.selected >= list.count()) return;
    destination = static_cast<int16_t>(list.selected);
}

void StoreListPosition(const ChoiceList& list, uint8_t& destination) {
    if (list.selected < 0 || list.selected >= list.count()) return;
    destination = static_cast<uint8_t>(list.selected > 255 ? 255 : list.selected);
}

bool ShowCheck(int16_t& stored) {
    if (stored > 1) stored = 0;
    return stored == 1;
}

bool ShowCheck(uint8_t& stored) {
    if (stored > 1) stored = 0;
    return stored == 1;
}

}  // namespace zr
