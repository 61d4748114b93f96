#include "channels/channel_view.h"

#include "data/freq_text.h"
#include "shell/language.h"

namespace zr {

std::vector<std::string> ToneListTexts(const Session& s, int noneText) {
    return ToneList(LanguageText(s, noneText));
}

std::vector<std::string> TextList(const Session& s, std::initializer_list<int> numbers) {
    std::vector<std::string> out;
    out.reserve(numbers.size());
    for (int n : numbers) out.push_back(LanguageText(s, n));
    return out;
}

std::string ListEntryOr0(const std::vector<std::string>& list, int value) {
    if (list.empty()) return {};
    if (value < 0 || value >= static_cast<int>(list.size())) return list.front();
    return list[static_cast<size_t>(value)];
}

std::vector<std::string> AutoDialMemories(const Session& s) {
    std::vector<std::string> out;
    const auto& groups = s.doc.stored.Dtmf.GroupCodes;
    for (size_t i = 0; i < groups.size(); ++i)
        if (groups[i].Length > 0 && !groups[i].Digits.text().empty()) out.push_back(std::to_string(i + 1));
    return out;
}

TableLists MakeTableLists(const Session& s) {
    TableLists l;
    l.tones = ToneListTexts(s, 14013);
    l.power = TextList(s, {14014, 14015, 14016});
    l.scan = TextList(s, {14017, 14018});
    l.signalling = TextList(s, {14013, 14019});
    l.bandwidth = TextList(s, {14020, 14021, 14022});
    return l;
}

std::string TxColumnText(const Session& s, const ChannelRecord& c, bool useOffset) {
    if (IsNoFrequency(c.RxFreq.text())) return {};
    return ShowTxFreText(LimitsOf(s.doc), c.RxFreq.text(), c.Offset.text(), c.OffsetDir, useOffset);
}

std::vector<std::string> ChannelRowTexts(const Session& s, const TableLists& lists, const ChannelRecord& c) {
    std::vector<std::string> t(10);
    t[1] = ShowFreText(LimitsOf(s.doc), c.RxFreq.text());
    t[2] = TxColumnText(s, c, s.settings.habits.UseOffset);
    t[3] = c.ChannelName.text();
    t[4] = ListEntryOr0(lists.tones, c.RxTone);
    t[5] = ListEntryOr0(lists.tones, c.TxTone);
    t[6] = ListEntryOr0(lists.power, c.TxPower);
    t[7] = ListEntryOr0(lists.scan, c.ScanSkip);
    t[8] = ListEntryOr0(lists.signalling, c.OptSignal);
    t[9] = ListEntryOr0(lists.bandwidth, c.Bandwidth);
    return t;
}

}  // namespace zr
