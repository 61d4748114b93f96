#include "pages/settings_pages.h"

#include <algorithm>

namespace zr::pages {

namespace {

std::vector<std::string> keys(const TextFn& t, std::initializer_list<int> ks) {
    std::vector<std::string> v;
    for (int k : ks) v.push_back(t(k));
    return v;
}

std::vector<std::string> steps(int first, int step, int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i) v.push_back(std::to_string(first + i * step));
    return v;
}

std::vector<std::string> prepend(std::string head, std::vector<std::string> rest) {
    rest.insert(rest.begin(), std::move(head));
    return rest;
}

// Cut at the first NUL, trailing blanks removed.
std::string clean(std::string s) {
    if (auto nul = s.find('\0'); nul != std::string::npos) s.resize(nul);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

// --- DTMF -------------------------------------------------------------------

std::string ShownDtmfCode(const DtmfCodeEntry& e) {
    if (e.Length <= 0 || e.Length > 16) return {};
    return clean(e.Digits.raw().substr(0, e.Length));
}

void StoreDtmfCode(DtmfCodeEntry& e, const std::string& text) {
    std::string t = clean(text.substr(0, 16));
    e.Length = static_cast<int16_t>(t.size());
    e.Digits.set(t);
}

DtmfPage::DtmfPage(StoredDocument& doc, TextFn text, std::function<void()> afterSignalling,
                   std::function<void()> groupCodeChanged)
    : doc_(doc), text_(std::move(text)), afterSignalling_(std::move(afterSignalling)),
      groupCodeChanged_(std::move(groupCodeChanged)) {}

DtmfCodeEntry& DtmfPage::entry(int n) {
    switch (n) {
        case 0: return doc_.Dtmf.BotCode;
        case 1: return doc_.Dtmf.EotCode;
        case 2: return doc_.Dtmf.StunCode;
        case 3: return doc_.Dtmf.KillCode;
        default: return doc_.Dtmf.GroupCodes[std::clamp(n - 4, 0, 15)];
    }
}

namespace {
int16_t DtmfRecord::* dtmfField(int id) {
    switch (id) {
        case DtmfPage::Rate: return &DtmfRecord::DtmfRate;
        case DtmfPage::FirstDigitTime: return &DtmfRecord::FirstDigitTime;
        case DtmfPage::FirstDigitDelay: return &DtmfRecord::FirstDigitDelay;
        case DtmfPage::StarHash: return &DtmfRecord::StarHashTime;
        case DtmfPage::DKey: return &DtmfRecord::DKeySetting;
        case DtmfPage::Signalling: return &DtmfRecord::DtmfSignalling;
        case DtmfPage::CallAlert: return &DtmfRecord::CallAlert;
        case DtmfPage::Separator: return &DtmfRecord::SeparatorCode;
        case DtmfPage::Group: return &DtmfRecord::GroupCode;
        case DtmfPage::AutoReset: return &DtmfRecord::AutoResetTime;
        default: return &DtmfRecord::AutoAnswer;
    }
}
bool isTiming(int id) { return id <= DtmfPage::StarHash; }
}  // namespace

void DtmfPage::store(int id) {
    const Choice& l = lists_[id];
    if (!l.hasSelection()) return;
    int v = isTiming(id) ? ParseInt(l.shown(), 0) / 50 : l.selected;
    doc_.Dtmf.*dtmfField(id) = static_cast<int16_t>(v);
    if (id == Signalling) {
        lists_[Separator].enabled = (v == 1);
        if (afterSignalling_) afterSignalling_();
    }
}

void DtmfPage::open() {
    const TextFn& t = text_;
    lists_[Rate].entries = steps(50, 50, 10);
    lists_[FirstDigitTime].entries = steps(0, 100, 11);
    lists_[FirstDigitDelay].entries = steps(100, 100, 25);
    lists_[StarHash].entries = {"0", "100", "500", "1000"};
    lists_[DKey].entries = prepend(t(18040), NumberTexts(1, 16, "s"));
    lists_[Signalling].entries = keys(t, {18041, 18042});
    lists_[CallAlert].entries = keys(t, {18043, 18044, 18045});
    lists_[Separator].entries = {"0", "1", "2", "3", "4", "5", "6", "7",
                                 "8", "9", "A", "B", "C", "D", "*", "#"};
    lists_[Group].entries = prepend(t(18043), {"A", "B", "C", "D", "*", "#"});
    lists_[AutoReset].entries = prepend(t(18043), NumberTexts(1, 15, "s"));
    lists_[AutoAnswer].entries = keys(t, {18046, 18047, 18048});

    for (int id = 0; id < ListCount; ++id) {
        int v = doc_.Dtmf.*dtmfField(id);
        if (isTiming(id))
            lists_[id].selectText(std::to_string(v * 50));
        else
            lists_[id].selectAt(v);
        store(id);
    }
    sideTone_ = doc_.Dtmf.SideTone == 1;
    doc_.Dtmf.SideTone = sideTone_ ? 1 : 0;
    for (int n = 0; n < kCodeCount; ++n) {
        DtmfCodeEntry& e = entry(n);
        codes_[n] = ShownDtmfCode(e);
        if (!codes_[n].empty())
            StoreDtmfCode(e, codes_[n]);
        else if (e.Length != 0)
            e.Length = 0;  // a length that no code can have
    }
}

void DtmfPage::choose(int id, int pos) {
    if (id < 0 || id >= ListCount) return;
    Choice& l = lists_[id];
    if (pos < 0 || pos >= l.count()) return;
    l.selected = pos;
    store(id);
}

void DtmfPage::setSideTone(bool on) {
    sideTone_ = on;
    doc_.Dtmf.SideTone = on ? 1 : 0;
}

void DtmfPage::setCode(int n, const std::string& text) {
    if (n < 0 || n >= kCodeCount) return;
    codes_[n] = text.substr(0, 16);
    StoreDtmfCode(entry(n), codes_[n]);
    if (n >= 4 && groupCodeChanged_) groupCodeChanged_();
}

// --- Scan -------------------------------------------------------------------

ScanPage::ScanPage(StoredDocument& doc, TextFn text, std::function<void()> scanModeChanged)
    : doc_(doc), text_(std::move(text)), scanModeChanged_(std::move(scanModeChanged)) {}

namespace {
const std::vector<int>& revertPositions(int mode) {
    static const std::vector<int> m0 = {0, 1, 4, 5};
    static const std::vector<int> m1 = {0, 1, 2, 4, 5, 6};
    static const std::vector<int> m2 = {0, 1, 3, 4, 5, 7};
    static const std::vector<int> m3 = {0, 1, 2, 3, 4, 5, 6, 7};
    switch (mode) {
        case 1: return m1;
        case 2: return m2;
        case 3: return m3;
        default: return m0;
    }
}
}  // namespace

void ScanPage::store(int id) {
    const Choice& l = lists_[id];
    if (!l.hasSelection()) return;
    ScanRecord& r = doc_.Scan;
    int p = l.selected;
    switch (id) {
        case Mode: r.ScanMode = uint8_t(p); break;
        case Priority: r.PriorityMode = uint8_t(p); break;
        case PriorityCh1: r.PriorityCh1 = uint8_t(ParseInt(l.shown(), 0)); break;
        case PriorityCh2: r.PriorityCh2 = uint8_t(ParseInt(l.shown(), 0)); break;
        case Revert: {
            auto it = std::find(fullRevert_.begin(), fullRevert_.end(), l.shown());
            r.RevertChannel = uint8_t(it == fullRevert_.end() ? 0 : it - fullRevert_.begin());
            break;
        }
        case LookBackA: r.LookBackA = uint8_t(p + 5); break;
        case LookBackB: r.LookBackB = uint8_t(p + 5); break;
        case RxResume: r.RxResumeDelay = uint8_t(p + 10); break;
        case TxResume: r.TxResumeDelay = uint8_t(p + 10); break;
        case WaitTime: r.WaitTime = uint8_t(p + 4); break;
        default: break;
    }
}

void ScanPage::initRevertList() {
    int mode = lists_[Priority].hasSelection() ? lists_[Priority].selected : 0;
    Choice& rev = lists_[Revert];
    rev.entries.clear();
    rev.selected = -1;
    for (int p : revertPositions(mode)) rev.entries.push_back(fullRevert_[p]);
    if (mode == 1 || mode == 3) lists_[PriorityCh1].enabled = true;
    if (mode == 2 || mode == 3) lists_[PriorityCh2].enabled = true;
}

void ScanPage::reselectRevert() {
    int v = doc_.Scan.RevertChannel;
    std::string t = (v >= 0 && v < int(fullRevert_.size())) ? fullRevert_[v] : fullRevert_[0];
    lists_[Revert].selectText(t);
    store(Revert);
}

void ScanPage::applyEnable() {
    bool on = lists_[Mode].selected == 1;
    for (int id = Priority; id < ListCount; ++id) lists_[id].enabled = on;
    tonesEnabled_ = on;
    lists_[Mode].enabled = true;
    if (on) {
        int mode = lists_[Priority].selected;
        lists_[PriorityCh1].enabled = (mode == 1 || mode == 3);
        lists_[PriorityCh2].enabled = (mode == 2 || mode == 3);
    }
}

void ScanPage::modeChanged() {
    store(Mode);
    applyEnable();
    if (scanModeChanged_) scanModeChanged_();
}

void ScanPage::priorityChanged() {
    initRevertList();
    applyEnable();
    reselectRevert();
    store(Priority);
}

void ScanPage::open() {
    loading_ = true;
    const TextFn& t = text_;
    std::string pc = t(28002), plus = " + ";
    fullRevert_ = {t(28032),
                   t(28032) + plus + t(28033),
                   pc + "1",
                   pc + "2",
                   t(28034),
                   t(28035),
                   pc + "1" + plus + t(28033),
                   pc + "2" + plus + t(28033)};
    lists_[Mode].entries = keys(t, {28030, 28031});
    lists_[Priority].entries = {t(28030), pc + "1", pc + "2", pc + "1" + plus + pc + "2"};
    FillChannelList(lists_[PriorityCh1], doc_.Channels);
    FillChannelList(lists_[PriorityCh2], doc_.Channels);
    lists_[LookBackA].entries = TenthsTexts(5, 46);
    lists_[LookBackB].entries = TenthsTexts(5, 46);
    lists_[RxResume].entries = TenthsTexts(10, 41);
    lists_[TxResume].entries = TenthsTexts(10, 41);
    lists_[WaitTime].entries = steps(60, 15, 252);

    ScanRecord& r = doc_.Scan;
    lists_[Mode].selectAt(r.ScanMode);
    modeChanged();
    lists_[Priority].selectAt(r.PriorityMode);
    priorityChanged();
    // An empty channel list leaves the priority channels as they are.
    lists_[PriorityCh1].selectText(std::to_string(r.PriorityCh1));
    store(PriorityCh1);
    lists_[PriorityCh2].selectText(std::to_string(r.PriorityCh2));
    store(PriorityCh2);
    lists_[PriorityCh1].enabled = false;
    lists_[PriorityCh2].enabled = false;
    initRevertList();
    reselectRevert();
    lists_[LookBackA].selectAt(r.LookBackA - 5);
    lists_[LookBackB].selectAt(r.LookBackB - 5);
    lists_[RxResume].selectAt(r.RxResumeDelay - 10);
    lists_[TxResume].selectAt(r.TxResumeDelay - 10);
    lists_[WaitTime].selectAt(r.WaitTime - 4);
    for (int id : {LookBackA, LookBackB, RxResume, TxResume, WaitTime}) store(id);
    if (r.ScanEntryTone > 1) r.ScanEntryTone = 0;
    if (r.ScanExitTone > 1) r.ScanExitTone = 0;
    entryTone_ = r.ScanEntryTone == 1;
    exitTone_ = r.ScanExitTone == 1;
    applyEnable();
    loading_ = false;
}

void ScanPage::choose(int id, int pos) {
    if (id < 0 || id >= ListCount) return;
    Choice& l = lists_[id];
    if (pos < 0 || pos >= l.count()) return;
    l.selected = pos;
    if (id == Mode)
        modeChanged();
    else if (id == Priority)
        priorityChanged();
    else
        store(id);
}

void ScanPage::setEntryTone(bool on) {
    entryTone_ = on;
    doc_.Scan.ScanEntryTone = on ? 1 : 0;
}

void ScanPage::setExitTone(bool on) {
    exitTone_ = on;
    doc_.Scan.ScanExitTone = on ? 1 : 0;
}

// --- Alert and emergency ----------------------------------------------------

AlertPage::AlertPage(StoredDocument& doc, TextFn text) : doc_(doc), text_(std::move(text)) {}

void AlertPage::store(int id) {
    const Choice& l = lists_[id];
    AlertRecord& r = doc_.Alert;
    if (id == IdGroup) {
        // With type 0, or nothing selected, no DTMF code is sent.
        r.EmgIdGroup = (r.EmgIdType == 1 && l.hasSelection() && l.shown().size() > 1)
                           ? uint8_t(ParseInt(l.shown().substr(1), 0))
                           : 0;
        return;
    }
    if (!l.hasSelection()) return;
    int p = l.selected;
    switch (id) {
        case AlarmMode: doc_.AlarmMode = uint8_t(p); break;
        case Emergency: {
            auto it = std::find(fullEmergency_.begin(), fullEmergency_.end(), l.shown());
            r.EmergencyAlarm = uint8_t(it == fullEmergency_.end() ? 0 : it - fullEmergency_.begin());
            break;
        }
        case IdType: r.EmgIdType = uint8_t(p); break;
        case AlarmTime: r.AlarmTime = uint8_t(p + 1); break;
        case TxTime: r.AlertTxTime = uint8_t(p + 1); break;
        case RxTime: r.AlertRxTime = uint8_t(p + 1); break;
        case ChannelSelect: r.ChannelSelect = uint8_t(p); break;
        case EmgChannel: r.EmgChannel = uint8_t(ParseInt(l.shown(), 0)); break;
        case Cycles: r.AlertCycles = uint8_t(p); break;
        default: break;
    }
}

void AlertPage::emergencyChanged() {
    store(Emergency);
    bool timeOnly = doc_.Alert.EmergencyAlarm == 0;
    lists_[AlarmTime].enabled = timeOnly;
    for (int id : {IdType, IdGroup, TxTime, RxTime}) lists_[id].enabled = !timeOnly;
}

void AlertPage::idTypeChanged() {
    Choice& codes = lists_[IdGroup];
    codes.entries.clear();
    codes.selected = -1;
    int type = lists_[IdType].selected;
    AlertRecord& r = doc_.Alert;
    if (type == 1) {
        for (int n = 1; n <= 16; ++n) {
            const DtmfCodeEntry& e = doc_.Dtmf.GroupCodes[n - 1];
            if (e.Length > 0 && e.Length <= 16) codes.entries.push_back("M" + std::to_string(n));
        }
        codes.selectText("M" + std::to_string(r.EmgIdGroup));
        r.EmgIdGroup = codes.hasSelection() ? uint8_t(ParseInt(codes.shown().substr(1), 0)) : 0;
    } else {
        r.EmgIdGroup = 0;
    }
    store(IdType);
}

void AlertPage::channelSelectChanged() {
    lists_[EmgChannel].enabled = lists_[ChannelSelect].selected == 0;
    store(ChannelSelect);
}

void AlertPage::open() {
    const TextFn& t = text_;
    lists_[AlarmMode].entries = keys(t, {16046, 16047});
    fullEmergency_ = keys(t, {27030, 27031, 27032, 27033});
    lists_[Emergency].entries = keys(t, {27030, 27032, 27033});
    lists_[IdType].entries = keys(t, {27037, 27038});
    lists_[AlarmTime].entries = NumberTexts(1, 255);
    lists_[TxTime].entries = NumberTexts(1, 255);
    lists_[RxTime].entries = NumberTexts(1, 255);
    lists_[ChannelSelect].entries = keys(t, {27034, 27035});
    FillChannelList(lists_[EmgChannel], doc_.Channels);
    lists_[Cycles].entries = prepend(t(27036), NumberTexts(1, 255));

    AlertRecord& r = doc_.Alert;
    int e = r.EmergencyAlarm;
    lists_[Emergency].selectText(Choice{fullEmergency_, -1, true}.textAt(e));
    emergencyChanged();
    lists_[IdType].selectAt(r.EmgIdType);
    idTypeChanged();
    lists_[AlarmTime].selectAt(r.AlarmTime - 1);
    lists_[TxTime].selectAt(r.AlertTxTime - 1);
    lists_[RxTime].selectAt(r.AlertRxTime - 1);
    for (int id : {AlarmTime, TxTime, RxTime}) store(id);
    lists_[ChannelSelect].selectAt(r.ChannelSelect);
    channelSelectChanged();
    // An empty channel list leaves EmgChannel as it is.
    lists_[EmgChannel].selectText(std::to_string(r.EmgChannel));
    store(EmgChannel);
    lists_[Cycles].selectAt(r.AlertCycles);
    store(Cycles);
    lists_[AlarmMode].selectAt(doc_.AlarmMode);
    store(AlarmMode);
}

void AlertPage::choose(int id, int pos) {
    if (id < 0 || id >= ListCount) return;
    Choice& l = lists_[id];
    if (pos < 0 || pos >= l.count()) return;
    l.selected = pos;
    switch (id) {
        case Emergency: emergencyChanged(); break;
        case IdType: idTypeChanged(); break;
        case ChannelSelect: channelSelectChanged(); break;
        default: store(id); break;
    }
}

// --- Programmable keys ------------------------------------------------------

const std::vector<int>& KeyPage::offeredFunctions() {
    static const std::vector<int> v = {0,  1,  2,  4,  5,  6,  7,  8,  9,  10, 12, 15,
                                       16, 17, 18, 19, 20, 21, 22, 23, 24, 27, 28, 29};
    return v;
}

KeyPage::KeyPage(StoredDocument& doc, TextFn text) : doc_(doc), text_(std::move(text)) {}

int16_t& KeyPage::field(int id) {
    KeyRecord& k = doc_.Keys;
    switch (id) {
        case 0: return k.Pf1Long;
        case 1: return k.Pf1Short;
        case 2: return k.Pf2Long;
        case 3: return k.Pf2Short;
        case 4: return k.Key3Long;
        case 5: return k.Key3Short;
        case 6: return k.Key4Long;
        case 7: return k.Key4Short;
        case 8: return k.Key5Long;
        case 11: return k.Key5Short;
        case 12: return k.Key6Long;
        case 13: return k.Key6Short;
        default: return k.LongPressTime;
    }
}

void KeyPage::store(int id) {
    const Choice& l = lists_[id];
    if (!l.hasSelection()) return;
    if (id == kLongPress) {
        doc_.Keys.LongPressTime = int16_t(l.selected + 10);
    } else if (isKeyList(id)) {
        Choice& func = lists_[kFunctionList];
        func.selectText(l.shown());
        if (func.hasSelection()) field(id) = int16_t(func.selected);
    }
}

void KeyPage::setKeyList(int id) {
    std::string t = lists_[kFunctionList].textAt(field(id));
    lists_[id].selectText(t);
    store(id);
}

void KeyPage::open() {
    lists_[kFunctionList].entries.clear();
    for (int k = 0; k < 30; ++k) lists_[kFunctionList].entries.push_back(text_(29040 + k));
    std::vector<std::string> offered;
    for (int f : offeredFunctions()) offered.push_back(text_(29040 + f));
    for (int id = 0; id <= 13; ++id)
        if (isKeyList(id)) lists_[id].entries = offered;
    lists_[kLongPress].entries = TenthsTexts(10, 16);
    lists_[kEmergencyLongPress].entries = TenthsTexts(10, 16);
    lists_[kEmergencyLongPress].selected = 0;  // shown only; never stored
    refreshKeys();
    lists_[kLongPress].selectAt(doc_.Keys.LongPressTime - 10);
    store(kLongPress);
}

void KeyPage::refreshKeys() {
    for (int id = 0; id <= 13; ++id)
        if (isKeyList(id)) setKeyList(id);
}

void KeyPage::choose(int id, int pos) {
    if (id < 0 || id >= kListCount) return;
    Choice& l = lists_[id];
    if (pos < 0 || pos >= l.count()) return;
    l.selected = pos;
    store(id);
}

// --- Embedded message -------------------------------------------------------

std::string EmbMsgShown(const EmbMsgRecord& r, int line) {
    if (line < 0 || line > 3) return {};
    return clean(r.Lines[line].raw());
}

void EmbMsgStore(EmbMsgRecord& r, int line, const std::string& text) {
    if (line < 0 || line > 3) return;
    std::string t = text.substr(0, 16);
    if (t.size() == 16) {
        r.Lines[line].set(t);
    } else {
        t.push_back('\0');
        r.Lines[line].set(t);
    }
}

}  // namespace zr::pages
