#include "shell/describe.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "data/bands.h"
#include "data/freq_text.h"
#include "shell/mod_fun.h"
#include "shell/session.h"

namespace zr {
namespace {

std::string Printf(const char* fmt, auto... args) {
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

std::string Quoted(const std::string& t) { return "\"" + t + "\""; }

std::string Tone(int v) {
    std::string t = ToneName(v, "none");
    return t.empty() ? "?" + std::to_string(v) : t;
}

}  // namespace

std::string DescribeDocument(const Session& s) {
    const RadioDocument& doc = s.doc;
    const StoredDocument& d = doc.stored;
    std::string out;
    out += "Document " + doc.fileName + (doc.neverSaved ? " (never saved)" : "") + "\n";
    out += "Format version " + d.FormatVersion.text() + "\n";
    out += "Model " + ModelDisplayName(doc.currentModel) + " (" + doc.currentModel + "), band " +
           doc.currentBand + " (code " + std::to_string(d.ModelBand.BandCode) + ")\n";

    const int count = std::clamp<int>(d.Channels.count, 0, kMaxChannels);
    out += "\nChannels: " + std::to_string(count) + "\n";
    out += Printf("%-4s %-10s %-10s %-9s %-6s %-6s %-5s %-4s %-4s %-4s %-4s %-10s\n", "Ch", "RX MHz",
                  "TX MHz", "Offset", "Decode", "Encode", "Power", "Band", "Skip", "Sig", "Busy", "ID code");
    std::vector<const ChannelRecord*> order;
    for (int i = 0; i < count; ++i) order.push_back(&d.Channels.entries[static_cast<std::size_t>(i)]);
    std::stable_sort(order.begin(), order.end(),
                     [](auto* a, auto* b) { return a->ChannelNumber < b->ChannelNumber; });
    for (const ChannelRecord* c : order) {
        const std::string number = c->ChannelNumber == kVfoChannel ? "VFO" : std::to_string(c->ChannelNumber);
        const bool hasRx = !IsNoFrequency(c->RxFreq.raw()) && StoredFreqUnits(c->RxFreq.raw());
        const std::string rx = hasRx ? ShowFreText(LimitsOf(s.doc), c->RxFreq.raw()) : Quoted(c->RxFreq.text());
        const std::string tx = hasRx ? ShowTxFreText(LimitsOf(s.doc), c->RxFreq.raw(), c->Offset.raw(), c->OffsetDir, false) : "";
        out += Printf("%-4s %-10s %-10s %-9s %-6s %-6s %-5d %-4d %-4d %-4d %-4d %-10s", number.c_str(), rx.c_str(),
                      tx.c_str(), ShowOffsetText(c->Offset.raw(), c->OffsetDir).c_str(), Tone(c->RxTone).c_str(),
                      Tone(c->TxTone).c_str(), c->TxPower, c->Bandwidth, c->ScanSkip, c->OptSignal, c->BusyLock,
                      c->IdCode.text().c_str());
        if (!c->ChannelName.text().empty()) out += " name " + Quoted(c->ChannelName.text());
        out += Printf(" ptt-id %d scramble %d tx-inhibit %d whisper %d compander %d auto-dial %d relation %d",
                      c->PttId, c->Scramble, c->TxInhibit, c->Whisper, c->Compander, c->AutoDialMemory,
                      c->SignalRelation);
        out += "\n";
    }

    out += "\nFM radio presets:";
    bool anyFm = false;
    for (int k = 0; k < kFmChannels; ++k) {
        const FmChannel& fm = d.FmChannels[static_cast<std::size_t>(k)];
        if (fm.IsEmpty != 0) continue;
        anyFm = true;
        out += " " + std::to_string(k + 1) + "=" + ShowFreText(LimitsOf(s.doc), fm.FmFreq.raw());
    }
    out += anyFm ? "\n" : " none\n";

    const OptFeatRecord& o = d.OptFeat;
    out += "\nOptional features:\n";
    out += Printf("  step %d, squelch %d, display %d, colour %d, backlight %d, battery save %d\n", o.FreqStep,
                  o.SquelchLevel, o.ChDisplayMode, o.ScreenColor, o.Backlight, o.BatterySave);
    out += Printf("  tail elimination %d, voice %d, key beep %d, beep volume %d, power-on display %d\n",
                  o.TailElimMode, o.VoicePrompt, o.KeyBeep, o.BeepVolume, o.PowerOnDisplay);
    out += Printf("  work mode %d, current channel %d, FM radio %d (mode %d, channel %d), direct %d/%d\n", o.WorkMode,
                  o.UhfCurrentCh, o.FmRadio, o.RadioWorkMode, o.FmCurrentCh, o.DirectCh1, o.DirectCh2);
    out += Printf("  TOT %d s (pre-alert %d, re-key %d, reset %d), VOX level %d delay %d, inversion %d\n", o.TotTime,
                  o.TotPreAlert, o.TotRekey, o.TotReset, o.VoxLevel, o.VoxDelay, o.InvertFreq);
    out += "  power-on text " + Quoted(o.PowerOnText.text()) + "\n";

    const DtmfRecord& t = d.Dtmf;
    out += Printf("DTMF: rate %d, first digit %d/%d, */# %d, D key %d, side tone %d, signalling %d, call alert %d\n",
                  t.DtmfRate, t.FirstDigitTime, t.FirstDigitDelay, t.StarHashTime, t.DKeySetting, t.SideTone,
                  t.DtmfSignalling, t.CallAlert);
    auto code = [](const DtmfCodeEntry& e) {
        const int n = std::clamp<int>(e.Length, 0, 16);
        return Quoted(std::string(e.Digits.bytes.data(), static_cast<std::size_t>(n)));
    };
    out += "  BOT " + code(t.BotCode) + ", EOT " + code(t.EotCode) + ", stun " + code(t.StunCode) + ", kill " +
           code(t.KillCode) + "\n";
    for (int g = 0; g < 16; ++g)
        if (t.GroupCodes[static_cast<std::size_t>(g)].Length > 0)
            out += "  group " + std::to_string(g + 1) + " " + code(t.GroupCodes[static_cast<std::size_t>(g)]) + "\n";

    const ScanRecord& sc = d.Scan;
    out += Printf("Scan: mode %d, priority %d (%d, %d), revert %d, look-back %d/%d, resume %d/%d, tones %d/%d, wait %d\n",
                  sc.ScanMode, sc.PriorityMode, sc.PriorityCh1, sc.PriorityCh2, sc.RevertChannel, sc.LookBackA,
                  sc.LookBackB, sc.RxResumeDelay, sc.TxResumeDelay, sc.ScanEntryTone, sc.ScanExitTone, sc.WaitTime);
    const AlertRecord& a = d.Alert;
    out += Printf("Alert: alarm %d, ID type %d group %d, times %d/%d/%d, channel select %d (%d), cycles %d, mode %d\n",
                  a.EmergencyAlarm, a.EmgIdType, a.EmgIdGroup, a.AlarmTime, a.AlertTxTime, a.AlertRxTime,
                  a.ChannelSelect, a.EmgChannel, a.AlertCycles, d.AlarmMode);
    const KeyRecord& k = d.Keys;
    out += Printf("Keys: long press %d, PF1 %d/%d, PF2 %d/%d, key3 %d/%d, key4 %d/%d, key5 %d/%d, key6 %d/%d\n",
                  k.LongPressTime, k.Pf1Long, k.Pf1Short, k.Pf2Long, k.Pf2Short, k.Key3Long, k.Key3Short,
                  k.Key4Long, k.Key4Short, k.Key5Long, k.Key5Short, k.Key6Long, k.Key6Short);
    out += "Embedded message:";
    for (const auto& line : d.EmbMsg.Lines) out += " " + Quoted(line.text());
    out += "\n";
    out += "Test frequencies:";
    for (const auto& e : d.TestFreqs)
        if (!e.TestFreq1.text().empty() || !e.TestFreq2.text().empty())
            out += " " + e.TestFreq1.text() + "/" + e.TestFreq2.text();
    out += "\n";
    return out;
}

}  // namespace zr
