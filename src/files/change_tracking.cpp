#include "files/change_tracking.h"

#include <algorithm>

#include "shell/session.h"

namespace zr {

namespace {

// Number of list entries in use, kept inside the array whatever the count
// holds.
int usedEntries(const ChannelList& list) {
    return std::clamp<int>(list.count, 0, kMaxChannels);
}

bool sameChannel(const ChannelRecord& a, const ChannelRecord& b) {
    return a.RxFreq == b.RxFreq && a.Offset == b.Offset &&
           a.ChannelName.text() == b.ChannelName.text() && a.IdCode.text() == b.IdCode.text() &&
           a.OffsetDir == b.OffsetDir && a.RxTone == b.RxTone && a.TxTone == b.TxTone &&
           a.RxStep == b.RxStep && a.OffsetStep == b.OffsetStep && a.Scramble == b.Scramble &&
           a.BusyLock == b.BusyLock && a.ReverseTalkaround == b.ReverseTalkaround &&
           a.TxInhibit == b.TxInhibit && a.Talkaround == b.Talkaround && a.PttId == b.PttId &&
           a.Whisper == b.Whisper && a.Bandwidth == b.Bandwidth && a.OptSignal == b.OptSignal &&
           a.Compander == b.Compander && a.Reverse == b.Reverse && a.TxPower == b.TxPower &&
           a.AutoDialMemory == b.AutoDialMemory && a.ScanSkip == b.ScanSkip &&
           a.SignalRelation == b.SignalRelation;
}

bool sameChannels(const ChannelList& doc, const ChannelList& saved) {
    if (doc.count != saved.count) return false;
    const int n = usedEntries(saved);
    for (int p = 0; p < n; ++p) {
        const ChannelRecord& want = saved.entries[p];
        const ChannelRecord* have = nullptr;
        if (doc.entries[p].ChannelNumber == want.ChannelNumber) {
            have = &doc.entries[p];
        } else {
            for (int i = 0; i < n; ++i)
                if (doc.entries[i].ChannelNumber == want.ChannelNumber) {
                    have = &doc.entries[i];
                    break;
                }
        }
        if (!have || !sameChannel(*have, want)) return false;
    }
    return true;
}

bool sameOptFeat(OptFeatRecord a, OptFeatRecord b) {
    // Channel lock is not a change worth saving; everything else is.
    a.ChLock = b.ChLock = 0;
    if (a.PowerOnText.text() != b.PowerOnText.text()) return false;
    a.PowerOnText = b.PowerOnText = {};
    return a == b;
}

bool sameCode(const DtmfCodeEntry& a, const DtmfCodeEntry& b) {
    return a.Length == b.Length && a.Digits.text() == b.Digits.text();
}

bool sameDtmf(const DtmfRecord& a, const DtmfRecord& b) {
    if (a.DtmfRate != b.DtmfRate || a.FirstDigitTime != b.FirstDigitTime ||
        a.FirstDigitDelay != b.FirstDigitDelay || a.StarHashTime != b.StarHashTime ||
        a.DKeySetting != b.DKeySetting || a.SideTone != b.SideTone ||
        a.DtmfSignalling != b.DtmfSignalling || a.CallAlert != b.CallAlert ||
        a.AutoAnswer != b.AutoAnswer || a.SeparatorCode != b.SeparatorCode ||
        a.GroupCode != b.GroupCode || a.AutoResetTime != b.AutoResetTime)
        return false;
    if (!sameCode(a.BotCode, b.BotCode) || !sameCode(a.EotCode, b.EotCode) ||
        !sameCode(a.StunCode, b.StunCode) || !sameCode(a.KillCode, b.KillCode))
        return false;
    for (std::size_t k = 0; k < a.GroupCodes.size(); ++k)
        if (!sameCode(a.GroupCodes[k], b.GroupCodes[k])) return false;
    return true;
}

bool sameTestFreqs(const StoredDocument& a, const StoredDocument& b) {
    for (std::size_t i = 0; i < a.TestFreqs.size(); ++i)
        if (a.TestFreqs[i].TestFreq1.text() != b.TestFreqs[i].TestFreq1.text() ||
            a.TestFreqs[i].TestFreq2.text() != b.TestFreqs[i].TestFreq2.text())
            return false;
    return true;
}

bool sameFm(const StoredDocument& a, const StoredDocument& b) {
    for (std::size_t i = 0; i < a.FmChannels.size(); ++i)
        if (a.FmChannels[i].IsEmpty != b.FmChannels[i].IsEmpty ||
            a.FmChannels[i].FmFreq.text() != b.FmChannels[i].FmFreq.text())
            return false;
    return true;
}

bool sameEmbMsg(const EmbMsgRecord& a, const EmbMsgRecord& b) {
    for (std::size_t i = 0; i < a.Lines.size(); ++i)
        if (a.Lines[i].text() != b.Lines[i].text()) return false;
    return true;
}

}  // namespace

bool IsUnchanged(const RadioDocument& doc, bool factoryTestMode) {
    const StoredDocument& d = doc.stored;
    const StoredDocument& s = doc.saved;
    return sameChannels(d.Channels, s.Channels) &&
           d.ModelBand.ModelId == s.ModelBand.ModelId &&
           d.ModelBand.BandCode == s.ModelBand.BandCode && sameEmbMsg(d.EmbMsg, s.EmbMsg) &&
           sameFm(d, s) && sameOptFeat(d.OptFeat, s.OptFeat) && sameTestFreqs(d, s) &&
           sameDtmf(d.Dtmf, s.Dtmf) && d.Keys == s.Keys && d.Scan == s.Scan &&
           d.Alert == s.Alert && d.AlarmMode == s.AlarmMode &&
           (!factoryTestMode || doc.testData == doc.savedTestData);
}

bool IsUnchanged(const Session& s) { return IsUnchanged(s.doc, s.settings.factoryTestMode); }

bool IsModified(const Session& s) { return !IsUnchanged(s); }

}  // namespace zr
