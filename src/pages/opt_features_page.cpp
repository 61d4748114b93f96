#include "pages/opt_features_page.h"

namespace zr::pages {

namespace {

using Field = int16_t OptFeatRecord::*;

// Fields of the drop-down lists (shown and hidden) that store a position or
// a channel number.
const std::map<int, Field>& listFields() {
    static const std::map<int, Field> m = {
        {0, &OptFeatRecord::FreqStep},       {1, &OptFeatRecord::SquelchLevel},
        {3, &OptFeatRecord::ChDisplayMode},  {4, &OptFeatRecord::ScreenColor},
        {5, &OptFeatRecord::Backlight},      {6, &OptFeatRecord::BatterySave},
        {8, &OptFeatRecord::TailElimMode},   {9, &OptFeatRecord::VoicePrompt},
        {10, &OptFeatRecord::KeyBeep},       {11, &OptFeatRecord::BeepVolume},
        {12, &OptFeatRecord::PowerOnDisplay}, {13, &OptFeatRecord::WorkMode},
        {14, &OptFeatRecord::RadioWorkMode}, {15, &OptFeatRecord::ToneScanMode},
        {16, &OptFeatRecord::InvertFreq},    {17, &OptFeatRecord::UhfCurrentCh},
        {18, &OptFeatRecord::FmCurrentCh},   {19, &OptFeatRecord::TotTime},
        {20, &OptFeatRecord::ScanPauseTime}, {21, &OptFeatRecord::TotPreAlert},
        {22, &OptFeatRecord::TotRekey},      {23, &OptFeatRecord::TotReset},
        {24, &OptFeatRecord::VoxLevel},      {25, &OptFeatRecord::VoxDelay},
        {29, &OptFeatRecord::FmRadio},       {30, &OptFeatRecord::ChLock},
        {31, &OptFeatRecord::DirectCh1},     {32, &OptFeatRecord::DirectCh2},
        {33, &OptFeatRecord::RadioWorkMode},
    };
    return m;
}

const std::map<int, Field>& checkFields() {
    static const std::map<int, Field> m = {
        {100, &OptFeatRecord::VoxTone},     {101, &OptFeatRecord::CableClone},
        {102, &OptFeatRecord::FactoryTest}, {103, &OptFeatRecord::WhisperFunc},
        {104, &OptFeatRecord::NoSigTailElim}, {106, &OptFeatRecord::InhibitInit},
        {107, &OptFeatRecord::AlarmSwitch}, {108, &OptFeatRecord::VoxEnable},
    };
    return m;
}

bool isChannelList(int id) {
    return id == OptFeatPage::kUhfCurrentCh || id == OptFeatPage::kFmCurrentCh ||
           id == OptFeatPage::kDirectCh1 || id == OptFeatPage::kDirectCh2;
}

// Id 14 is a second name of the radio work mode list.
int listOf(int id) { return id == 14 ? OptFeatPage::kRadioWorkMode : id; }

}  // namespace

OptFeatPage::OptFeatPage(StoredDocument& doc, TextFn text)
    : doc_(doc), text_(std::move(text)) {}

const std::vector<OptFeatControl>& OptFeatPage::leftColumn() {
    static const std::vector<OptFeatControl> v = {
        {0, 16001, OptFeatControl::List},  {1, 16002, OptFeatControl::List},
        {3, 16004, OptFeatControl::List},  {4, 16005, OptFeatControl::List},
        {5, 16006, OptFeatControl::List},  {6, 16007, OptFeatControl::List},
        {9, 16010, OptFeatControl::List},  {10, 16011, OptFeatControl::List},
        {11, 16012, OptFeatControl::List}, {8, 16009, OptFeatControl::List},
        {29, 16035, OptFeatControl::List}, {33, 16503, OptFeatControl::List},
        {18, 16019, OptFeatControl::List}, {13, 16014, OptFeatControl::List},
        {17, 16018, OptFeatControl::List}, {16, 16017, OptFeatControl::List},
    };
    return v;
}

const std::vector<OptFeatControl>& OptFeatPage::rightColumn() {
    static const std::vector<OptFeatControl> v = {
        {12, 16013, OptFeatControl::List},  {31, 16501, OptFeatControl::List},
        {32, 16502, OptFeatControl::List},  {19, 16020, OptFeatControl::List},
        {21, 16022, OptFeatControl::List},  {22, 16023, OptFeatControl::List},
        {23, 16024, OptFeatControl::List},  {24, 16025, OptFeatControl::List},
        {25, 16026, OptFeatControl::List},  {100, 16030, OptFeatControl::Check},
        {200, 16039, OptFeatControl::PowerOnText}, {106, 16036, OptFeatControl::Check},
        {104, 16034, OptFeatControl::Check},
    };
    return v;
}

const Choice& OptFeatPage::list(int id) const {
    static const Choice none;
    auto it = lists_.find(listOf(id));
    return it == lists_.end() ? none : it->second;
}

Choice& OptFeatPage::mlist(int id) { return lists_[listOf(id)]; }

bool OptFeatPage::check(int id) const {
    auto it = checks_.find(id);
    return it != checks_.end() && it->second;
}

void OptFeatPage::buildLists() {
    auto keys = [&](std::initializer_list<int> ks) {
        std::vector<std::string> v;
        for (int k : ks) v.push_back(text_(k));
        return v;
    };
    auto withOff = [&](std::vector<std::string> rest) {
        rest.insert(rest.begin(), text_(16046));
        return rest;
    };
    lists_.clear();
    lists_[0].entries = {"5K", "6.25K", "10K", "12.5K", "15K", "20K", "25K", "30K", "50K"};
    lists_[1].entries = NumberTexts(0, 9);
    lists_[3].entries = keys({16040, 16041, 16042});
    lists_[4].entries = keys({16043, 16044, 16045});
    lists_[5].entries = keys({16046, 16047, 16048});
    lists_[6].entries = keys({16046, 16049, 16050, 16051});
    voiceFull_ = keys({16056, 16057, 16058});
    lists_[9].entries = {voiceFull_[0], voiceFull_[2]};
    lists_[10].entries = keys({16046, 16047});
    lists_[11].entries = NumberTexts(1, 5);
    lists_[8].entries = keys({16300, 16301, 16054, 16055});
    lists_[29].entries = keys({16046, 16047});
    lists_[33].entries = keys({16064, 16065});
    lists_[13].entries = keys({16062, 16063});
    lists_[16].entries = keys({16069, 16070, 16071, 16072});
    lists_[12].entries = keys({16059, 16060, 16061});
    std::vector<std::string> tot;
    for (int n = 1; n <= 16; ++n) tot.push_back(std::to_string(n * 15));
    lists_[19].entries = withOff(tot);
    lists_[21].entries = withOff(NumberTexts(1, 15));
    lists_[22].entries = NumberTexts(0, 60);
    lists_[23].entries = NumberTexts(0, 30);
    lists_[24].entries = withOff(NumberTexts(1, 3));
    {  // 0.5, 1.0, ..., 5.0
        std::vector<std::string> v;
        for (int i = 0; i < 10; ++i) {
            int tenths = 5 + i * 5;
            v.push_back(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
        }
        lists_[25].entries = v;
    }
    // Lists of fields that no page shows; they only normalise the values.
    lists_[15].entries = NumberTexts(0, 2);
    lists_[20].entries = keys({16073, 16074, 16075});
    lists_[30].entries = NumberTexts(0, 1);
    // Channel lists.
    std::vector<std::string> mem;
    for (int ch : MemoryChannelsInUse(doc_.Channels)) mem.push_back(std::to_string(ch));
    std::vector<std::string> fm;
    for (int ch : FmChannelsInUse(doc_.FmChannels)) fm.push_back(std::to_string(ch));
    lists_[kUhfCurrentCh].entries = mem;
    lists_[kDirectCh1].entries = mem;
    lists_[kDirectCh2].entries = mem;
    lists_[kFmCurrentCh].entries = fm;
}

void OptFeatPage::SaveOptFeat(int id) {
    OptFeatRecord& r = doc_.OptFeat;
    if (id == kPowerOnText) {
        std::string t;
        for (const auto& b : boxes_) t += b.empty() ? ' ' : b[0];
        r.PowerOnText.set(t);
        return;
    }
    if (auto c = checkFields().find(id); c != checkFields().end()) {
        r.*(c->second) = check(id) ? 1 : 0;
        return;
    }
    auto f = listFields().find(id);
    if (f == listFields().end()) return;
    const Choice& l = list(id);
    if (!l.hasSelection()) return;
    int16_t value = static_cast<int16_t>(l.selected);
    if (isChannelList(id)) {
        value = static_cast<int16_t>(ParseInt(l.shown(), 0));
    } else if (id == 19) {
        value = static_cast<int16_t>(l.selected * 15);
    } else if (id == 9) {
        int p = -1;
        for (int i = 0; i < static_cast<int>(voiceFull_.size()); ++i)
            if (voiceFull_[i] == l.shown()) { p = i; break; }
        value = static_cast<int16_t>(p < 0 ? 0 : p);
    }
    r.*(f->second) = value;

    if (id == kChDisplayMode && !loading_) {
        Choice& work = mlist(kWorkMode);
        bool haveChannels = !MemoryChannelsInUse(doc_.Channels).empty();
        if (value == 1) {
            work.selectAt(1);
            SaveOptFeat(kWorkMode);
            work.enabled = false;
        } else {
            // Without memory channels the work mode stays locked at 0.
            work.enabled = haveChannels;
        }
    }
}

void OptFeatPage::selectChannel(int id) {
    Choice& l = mlist(id);
    if (l.entries.empty()) {
        l.selected = -1;  // the field keeps its value
        return;
    }
    auto f = listFields().at(id);
    l.selectText(std::to_string(doc_.OptFeat.*f));
    SaveOptFeat(id);
}

void OptFeatPage::applyMemoryEnable() {
    Choice& cur = mlist(kUhfCurrentCh);
    Choice& work = mlist(kWorkMode);
    if (cur.entries.empty()) {
        doc_.OptFeat.WorkMode = 0;
        work.selectAt(0);
        cur.enabled = false;
        work.enabled = false;
    } else {
        cur.enabled = true;
        work.enabled = doc_.OptFeat.ChDisplayMode != 1;
    }
}

void OptFeatPage::applyFmEnable(bool reshow) {
    Choice& cur = mlist(kFmCurrentCh);
    Choice& mode = mlist(kRadioWorkMode);
    if (cur.entries.empty()) {
        doc_.OptFeat.RadioWorkMode = 0;
        mode.selectAt(0);
        cur.enabled = false;
        mode.enabled = false;
    } else {
        if (!reshow || cur.count() > 1) cur.enabled = true;
        mode.enabled = true;
    }
}

void OptFeatPage::open() {
    loading_ = true;
    buildLists();
    OptFeatRecord& r = doc_.OptFeat;
    for (auto& [id, l] : lists_) {
        if (isChannelList(id)) continue;
        auto field = listFields().at(id);
        int v = r.*field;
        if (id == 19) {
            l.selectAt(v / 15);
        } else if (id == 9) {
            std::string t = Choice{voiceFull_, -1, true}.textAt(v);
            l.selectText(t);
        } else if (id == 30) {
            l.selectAt(r.ChDisplayMode == 1 ? v : 0);
        } else {
            l.selectAt(v);
        }
        SaveOptFeat(id);
    }
    // ChLock depends on the channel display mode as normalised above.
    if (r.ChDisplayMode != 1) {
        mlist(30).selectAt(0);
        SaveOptFeat(30);
    }
    for (int id : {kUhfCurrentCh, kFmCurrentCh, kDirectCh1, kDirectCh2}) selectChannel(id);
    for (auto& [id, field] : checkFields()) {
        checks_[id] = (r.*field == 1);
        SaveOptFeat(id);
    }
    std::string t = r.PowerOnText.text();
    t.resize(12, ' ');
    for (int n = 0; n < 12; ++n) boxes_[n] = t[n] == ' ' ? std::string() : std::string(1, t[n]);
    applyMemoryEnable();
    applyFmEnable(false);
    loading_ = false;
}

void OptFeatPage::choose(int id, int pos) {
    Choice& l = mlist(id);
    if (pos < 0 || pos >= l.count()) return;
    l.selected = pos;
    SaveOptFeat(id);
}

void OptFeatPage::setCheck(int id, bool on) {
    checks_[id] = on;
    SaveOptFeat(id);
}

void OptFeatPage::setPowerOnBox(int n, const std::string& text) {
    if (n < 0 || n >= 12) return;
    boxes_[n] = text.substr(0, 1);
    SaveOptFeat(kPowerOnText);
}

void OptFeatPage::ReshowByCh() {
    std::vector<std::string> mem;
    for (int ch : MemoryChannelsInUse(doc_.Channels)) mem.push_back(std::to_string(ch));
    std::vector<std::string> fm;
    for (int ch : FmChannelsInUse(doc_.FmChannels)) fm.push_back(std::to_string(ch));
    for (int id : {kUhfCurrentCh, kDirectCh1, kDirectCh2}) mlist(id).entries = mem;
    mlist(kFmCurrentCh).entries = fm;
    for (int id : {kUhfCurrentCh, kFmCurrentCh, kDirectCh1, kDirectCh2}) selectChannel(id);
    applyMemoryEnable();
    applyFmEnable(true);
}

}  // namespace zr::pages
