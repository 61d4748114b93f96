#include "data/new_document_defaults.h"

#include <cstdio>
#include <ctime>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "data/document.h"
#include "shell/session.h"

namespace zr {

CivilDate Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string DateText(const CivilDate& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

namespace {

void SettingsDefaults(StoredDocument& d) {
    OptFeatRecord o;  // every field 0, PowerOnText cleared below
    o.ChDisplayMode = 1;
    o.TailElimMode = 3;
    o.UhfCurrentCh = 1;
    o.FmCurrentCh = 1;
    o.DirectCh1 = 1;
    o.DirectCh2 = 1;
    o.PowerOnText.clear();
    d.OptFeat = o;

    for (auto& line : d.EmbMsg.Lines) line.clear();

    DtmfRecord& t = d.Dtmf;
    t.DtmfRate = t.FirstDigitTime = t.FirstDigitDelay = t.StarHashTime = 0;
    t.DKeySetting = t.SideTone = t.DtmfSignalling = t.CallAlert = 0;
    t.AutoAnswer = t.SeparatorCode = t.GroupCode = t.AutoResetTime = 0;
    for (auto& g : t.GroupCodes) {
        g.Length = 0;
        g.Digits.set("");
    }
    // BotCode, EotCode, StunCode and KillCode keep their values.

    d.Alert = AlertRecord{};
    d.AlarmMode = 0;

    ScanRecord sc;
    sc.ScanMode = sc.PriorityMode = sc.RevertChannel = 0;
    sc.LookBackA = 20;
    sc.LookBackB = sc.RxResumeDelay = sc.TxResumeDelay = 30;
    sc.ScanEntryTone = sc.ScanExitTone = sc.PriorityCh1 = sc.PriorityCh2 = 0;
    sc.WaitTime = 6;
    d.Scan = sc;

    KeyRecord k{};
    k.LongPressTime = 20;
    k.Pf1Long = k.Pf1Short = k.Pf2Long = k.Pf2Short = 0;
    k.Key3Long = k.Key4Long = k.Key5Long = k.Key6Long = 0;
    k.Key3Short = k.Key4Short = k.Key5Short = k.Key6Short = 0;
    d.Keys = k;
}

void TestFrequencyDefaults(RadioDocument& doc) {
    const char* first = doc.currentBand == "136 - 174 MHz" ? "15510000" : "43510000";
    auto& t = doc.stored.TestFreqs;
    t[0].TestFreq1.set(first);
    t[0].TestFreq2.set(first);
    for (std::size_t i = 1; i < t.size(); ++i) {
        t[i].TestFreq1.clear();
        t[i].TestFreq2.clear();
    }
}

}  // namespace

void NewDocumentChannels(Session& s) {
    ChannelList& l = s.doc.stored.Channels;
    l.count = 0;
    const double middle = (s.doc.bandLower + s.doc.bandUpper) / 2;
    NewChannel(s, kVfoChannel, middle);
    NewChannel(s, 1, middle);
    s.doc.changes.replaced();
}

void ResetRadioInfo(Session& s, const CivilDate& today) {
    RadioInfoRecord& r = s.doc.radioInfo;
    const std::string date = DateText(today);
    r.BandCode = s.doc.stored.ModelBand.BandCode;
    r.SpareText.clear();
    r.SerialNo.clear();
    r.FactoryDate.set(date);
    r.RepairDate.set(date);
    r.RepairReason.clear();
    r.VersionInfo = "V1.00";
    r.ModelText = s.doc.currentModel;
    r.SalesArea = "0595";
    char batch[16];
    std::snprintf(batch, sizeof batch, "%02d-1-E-1", today.month);
    r.BatchNo.set(batch);
    r.CustomerCode.set("001A");
    r.DealerCode.clear();
    r.StockInTime.set(date);
    r.SaleTime.set(date);
    r.Handler.clear();
}

void NewDocumentDefaults(Session& s) { NewDocumentDefaults(s, Today()); }

void NewDocumentDefaults(Session& s, const CivilDate& today) {
    RadioDocument& doc = s.doc;
    doc.fileName = "new.dat";
    doc.neverSaved = true;
    doc.stored.FormatVersion.set("V100");
    SettingsDefaults(doc.stored);
    // The FM presets are emptied before the channels are made, so the
    // re-check of the channel references that runs with each new channel
    // sees the new document's presets, not the previous document's.
    for (auto& fm : doc.stored.FmChannels) {
        fm.IsEmpty = 1;
        fm.FmFreq.set("");
    }
    NewDocumentChannels(s);
    TestFrequencyDefaults(doc);
    RefreshModelBand(doc);
    ResetRadioInfo(s, today);
    doc.saved = doc.stored;
}

}  // namespace zr
