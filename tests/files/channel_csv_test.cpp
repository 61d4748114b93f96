// Channel lists as CHIRP-style CSV: round trip, every tone mode, duplex,
// skip and power value, rows the radio cannot hold, unreadable files.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "data/freq_text.h"
#include "files/channel_csv.h"
#include "shell/session.h"
#include "support/channel_lookup.h"
#include "support/support.h"

using namespace zr;

namespace {

const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

struct CsvSession {
    Session s;
    zrtest::ScriptedPrompter prompter;

    explicit CsvSession(const char* band = "400 - 470 MHz") {
        s.prompter = &prompter;
        s.doc.currentBand = band;
        RefreshBandLimits(s.doc);
        s.doc.stored.Channels.count = 0;
    }
    ChannelRecord& add(int n, const char* rx) {
        SetChannelItem(s, n, item::kRxFreq, rx);
        if (ChannelRecord* c = FindChannelRecord(s, n)) return *c;
        ADD_FAILURE() << "channel " << n << " was not created";
        static ChannelRecord scratch;
        return scratch;
    }
    const ChannelRecord* ch(int n) const { return FindChannelRecord(s, n); }
    const ChannelRecord& chan(int n) const { return zrtest::channelOrBlank(s, n); }
};

int Dcs(int code, bool inverted) { return (inverted ? 563 : 51) + code; }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t p = 0;
    while (p < text.size()) {
        std::size_t e = text.find("\r\n", p);
        if (e == std::string::npos) e = text.size();
        out.push_back(text.substr(p, e - p));
        p = e + 2;
    }
    return out;
}

}  // namespace

TEST(ChannelCsvParse, QuotedFieldsCommasQuotesAndLineBreaks) {
    std::vector<CsvRecord> recs;
    ASSERT_TRUE(ParseCsv("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\r\n1,\"two\nlines\",3\n4,,\n", recs).ok());
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0].fields, (std::vector<std::string>{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(recs[1].fields, (std::vector<std::string>{"1", "two\nlines", "3"}));
    EXPECT_EQ(recs[1].line, 3);
    EXPECT_EQ(recs[2].fields, (std::vector<std::string>{"4", "", ""}));
    EXPECT_EQ(recs[2].line, 5);   // the quoted line break counts

    const Result open = ParseCsv("a,\"open\nstill open", recs);
    EXPECT_FALSE(open.ok());
    EXPECT_NE(open.message().find("line 1"), std::string::npos);
    EXPECT_TRUE(recs.empty());
}

TEST(ChannelCsvExport, RowsCarryTheChirpValues) {
    CsvSession t;
    ChannelRecord& a = t.add(12, "462.5625");
    a.ChannelName.set("GMRS1");
    a.OffsetDir = 2;
    a.Offset.set("0500000");
    a.TxTone = 9;                 // 88.5
    a.RxTone = Dcs(19, true);     // D023I -> Cross Tone->DTCS
    a.ScanSkip = 1;
    a.TxPower = 1;
    a.Bandwidth = 1;
    ChannelRecord& b = t.add(3, "446.00625");
    b.ChannelName.set("A,B");     // a comma must be quoted
    b.TxInhibit = 1;
    b.RxTone = b.TxTone = 13;     // 100.0 both -> TSQL

    const auto lines = Lines(ExportChannelCsv(t.s));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0] + "\n", kHeader);
    EXPECT_EQ(lines[1], "3,\"A,B\",446.006250,off,0.000000,TSQL,100.0,100.0,023,NN,023,Tone->Tone,NFM,6.25,,High,,,,,");
    EXPECT_EQ(lines[2], "12,GMRS1,462.562500,+,5.000000,Cross,88.5,88.5,023,NR,023,Tone->DTCS,FM,6.25,S,Mid,20 kHz,,,,");
}

TEST(ChannelCsvImport, ExportThenImportGivesTheSameChannels) {
    CsvSession src;
    struct Want { int n; const char* rx; int dir; const char* off; int rxTone, txTone, power, skip, bw, inhibit; const char* name; };
    const Want specs[] = {
        {1, "462.5625", 0, "0000000", 0, 0, 2, 0, 0, 0, "CH1"},
        {2, "462.5500", 2, "0500000", 0, 9, 1, 1, 2, 0, "RPT"},               // Tone
        {3, "440.0000", 1, "0500000", 13, 13, 0, 0, 1, 0, "TSQL"},            // TSQL, 20 kHz
        {4, "445.0000", 0, "0060000", Dcs(19, false), Dcs(19, true), 2, 1, 0, 0, "DCS NR"},  // DTCS, simplex magnitude kept
        {5, "450.0000", 2, "0100000", 20, 9, 2, 0, 2, 0, "T T"},             // Tone->Tone
        {6, "451.0000", 0, "0000000", Dcs(0x1FF, false), 50, 2, 0, 2, 0, ""},  // Tone->DTCS, D777N
        {7, "452.0000", 0, "0000000", 1, Dcs(38, false), 0, 0, 0, 0, "X"},    // DTCS->Tone
        {8, "453.0000", 0, "0000000", Dcs(5, true), Dcs(6, false), 2, 0, 0, 0, "DD"},  // DTCS->DTCS
        {9, "454.0000", 0, "0000000", 0, Dcs(7, false), 2, 0, 0, 0, "D"},     // DTCS->
        {10, "455.0000", 0, "0000000", 30, 0, 2, 0, 0, 0, "RT"},               // ->Tone
        {11, "456.0000", 0, "0000000", Dcs(100, true), 0, 2, 0, 0, 0, "RD"},   // ->DTCS
        {128, "469.9875", 0, "0000000", 0, 0, 2, 0, 0, 1, "LAST"},             // TX inhibit
    };
    for (const Want& sp : specs) {
        ChannelRecord& c = src.add(sp.n, sp.rx);
        c.OffsetDir = static_cast<uint8_t>(sp.dir);
        c.Offset.set(sp.off);
        c.RxTone = static_cast<int16_t>(sp.rxTone);
        c.TxTone = static_cast<int16_t>(sp.txTone);
        c.TxPower = static_cast<int16_t>(sp.power);
        c.ScanSkip = static_cast<int16_t>(sp.skip);
        c.Bandwidth = static_cast<int16_t>(sp.bw);
        c.TxInhibit = static_cast<int16_t>(sp.inhibit);
        c.ChannelName.set(sp.name);
    }
    SetChannelItem(src.s, 129, item::kRxFreq, "460.0");   // the VFO is not exported

    zrtest::TempDir dir;
    const Result written = ExportChannelCsvFile(src.s, dir.str("list.csv"));
    ASSERT_TRUE(written.ok()) << written.message();

    CsvSession dst;
    const CsvImportReport rep = ImportChannelCsvFile(dst.s, dir.str("list.csv"));
    ASSERT_TRUE(rep.readable) << rep.error;
    EXPECT_EQ(rep.rows, 12);
    EXPECT_EQ(rep.imported, 12);
    EXPECT_TRUE(rep.notes.empty()) << FormatImportReport(rep);
    EXPECT_EQ(dst.ch(129), nullptr);
    EXPECT_TRUE(dst.prompter.asked.empty());
    EXPECT_FALSE(dst.s.settings.habits.UseOffset);   // the habit is given back
    for (const Want& sp : specs) {
        SCOPED_TRACE(sp.n);
        const ChannelRecord& a = src.chan(sp.n);
        const ChannelRecord* b = dst.ch(sp.n);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(a.RxFreq, b->RxFreq);
        EXPECT_EQ(a.Offset, b->Offset);
        EXPECT_EQ(a.OffsetDir, b->OffsetDir);
        EXPECT_EQ(a.RxTone, b->RxTone);
        EXPECT_EQ(a.TxTone, b->TxTone);
        EXPECT_EQ(a.TxPower, b->TxPower);
        EXPECT_EQ(a.ScanSkip, b->ScanSkip);
        EXPECT_EQ(a.Bandwidth, b->Bandwidth);
        EXPECT_EQ(a.TxInhibit, b->TxInhibit);
        EXPECT_EQ(a.RxStep, b->RxStep);
        EXPECT_EQ(a.ChannelName.text(), b->ChannelName.text());
    }
    // The same file read again changes nothing.
    const StoredDocument before = dst.s.doc.stored;
    EXPECT_TRUE(ImportChannelCsvFile(dst.s, dir.str("list.csv")).notes.empty());
    EXPECT_EQ(dst.s.doc.stored.Channels.count, before.Channels.count);
}

TEST(ChannelCsvImport, ColumnsInAnyOrderAndEveryValueForm) {
    CsvSession t;
    const std::string csv =
        "Extra,Frequency,Location,Power,Skip,Tone,rToneFreq,cToneFreq,DtcsCode,RxDtcsCode,DtcsPolarity,"
        "CrossMode,Duplex,Offset,Mode,Name\n"
        "x,462.5625,1,L,S,Tone,67.0,,,,,,+,5,FM,ab\n"
        "x,462.5750,2,medium,,TSQL,,254.1,,,,,-,0.6,NFM,\"b c\"\n"
        "x,462.5875,3,5W,,DTCS,,,023,,RN,,split,467.5875,FM,d\n"
        "x,462.6000,4,0.5W,,Cross,,,754,023,NR,DTCS->DTCS,,,NFM,e\n"
        "x,462.6125,5,High,P,Cross,,71.9,,,,->Tone,off,0.1,FM,f\n"
        "x,462.6250,6,,,,,,,,,,split,462.6250,,g\n";
    const CsvImportReport rep = ImportChannelCsv(t.s, csv);
    ASSERT_TRUE(rep.readable) << rep.error;
    EXPECT_EQ(rep.imported, 6);

    const ChannelRecord& c1 = t.chan(1);
    EXPECT_EQ(c1.TxPower, 0);
    EXPECT_EQ(c1.ScanSkip, 1);
    EXPECT_EQ(c1.TxTone, 1);
    EXPECT_EQ(c1.RxTone, 0);
    EXPECT_EQ(c1.OffsetDir, 2);
    EXPECT_EQ(c1.Offset.text(), "0500000");
    EXPECT_EQ(c1.Bandwidth, 2);
    EXPECT_EQ(c1.ChannelName.text(), "AB");

    const ChannelRecord& c2 = t.chan(2);
    EXPECT_EQ(c2.TxPower, 1);
    EXPECT_EQ(c2.RxTone, 50);
    EXPECT_EQ(c2.TxTone, 50);
    EXPECT_EQ(c2.OffsetDir, 1);
    EXPECT_EQ(c2.Offset.text(), "0060000");
    EXPECT_EQ(c2.Bandwidth, 0);
    EXPECT_EQ(c2.ChannelName.text(), "B C");

    const ChannelRecord& c3 = t.chan(3);
    EXPECT_EQ(c3.TxPower, 2);
    EXPECT_EQ(c3.TxTone, Dcs(19, true));
    EXPECT_EQ(c3.RxTone, Dcs(19, false));
    EXPECT_EQ(c3.OffsetDir, 2);   // split 467.5875 = +5 MHz
    EXPECT_EQ(c3.Offset.text(), "0500000");

    const ChannelRecord& c4 = t.chan(4);
    EXPECT_EQ(c4.TxPower, 0);
    EXPECT_EQ(c4.TxTone, Dcs(0754, false));
    EXPECT_EQ(c4.RxTone, Dcs(023, true));

    const ChannelRecord& c5 = t.chan(5);
    EXPECT_EQ(c5.ScanSkip, 0);   // "P" (priority) is not a skip
    EXPECT_EQ(c5.TxTone, 0);
    EXPECT_EQ(c5.RxTone, 3);
    EXPECT_EQ(c5.TxInhibit, 1);
    EXPECT_EQ(c5.OffsetDir, 0);
    EXPECT_EQ(c5.Offset.text(), "0010000");

    const ChannelRecord& c6 = t.chan(6);
    EXPECT_EQ(c6.OffsetDir, 0);   // split onto the RX itself
    EXPECT_EQ(c6.TxPower, 2);     // empty power: the new channel's default
}

TEST(ChannelCsvImport, BadRowsAreSkippedAndReportedAndNothingElseChanges) {
    CsvSession t;
    ChannelRecord& keep = t.add(5, "450.0");
    keep.ChannelName.set("KEEP");
    keep.PttId = 3;
    const ChannelRecord keepBefore = keep;
    ChannelRecord& upd = t.add(7, "451.0");
    upd.PttId = 2;   // not carried by a CSV: kept through an update

    const std::string csv = std::string(kHeader) +
        "0,ZERO,462.5625,,0,,,,,,,,FM,,,High,,,,,\n"              // line 2: location 0
        "129,VFO,462.5625,,0,,,,,,,,FM,,,High,,,,,\n"             // line 3: beyond 128
        "abc,X,462.5625,,0,,,,,,,,FM,,,High,,,,,\n"               // line 4: not a number
        "10,X,462.56.25,,0,,,,,,,,FM,,,High,,,,,\n"               // line 5: frequency
        "11,X,462.5625,split,480.0,,,,,,,,FM,,,High,,,,,\n"       // line 6: split outside band
        "12,X,462.5625,x,0,,,,,,,,FM,,,High,,,,,\n"               // line 7: unknown duplex
        "7,\"Hello, World!\",455.0,,0,,,,,,,,FM,,,High,,,,,\n"    // line 8: name changed
        "13,HI,480.0,+,5,,,,,,,,FM,,,High,,,,,\n"                 // line 9: RX clamped
        "14,RAST,462.5630,,0,Tone,88.6,,,,,,AM,,,Huge,,,,,\n"     // line 10: raster, tone, mode, power
        "15,TXHI,465.0,+,10,,,,,,,,FM,,,High,,,,,\n"              // line 11: TX clamped
        "16,TXR,462.5625,+,5.0007,,,,,,,,FM,,,High,,,,,\n";       // line 12: offset on the raster
    const StoredDocument docBefore = t.s.doc.stored;
    const CsvImportReport rep = ImportChannelCsv(t.s, csv);
    ASSERT_TRUE(rep.readable);
    EXPECT_EQ(rep.rows, 11);
    EXPECT_EQ(rep.imported, 5);

    auto note = [&](int line) -> const CsvImportNote* {
        for (const auto& n : rep.notes)
            if (n.line == line) return &n;
        return nullptr;
    };
    for (int line : {2, 3, 4, 5, 6, 7}) {
        SCOPED_TRACE(line);
        ASSERT_NE(note(line), nullptr);
        EXPECT_TRUE(note(line)->skipped);
    }
    EXPECT_NE(note(3)->reason.find("1..128"), std::string::npos);
    EXPECT_NE(note(5)->reason.find("not a number"), std::string::npos);
    EXPECT_NE(note(6)->reason.find("outside the band"), std::string::npos);
    for (int n : {10, 11, 12}) EXPECT_EQ(t.ch(n), nullptr) << n;

    ASSERT_NE(note(8), nullptr);
    EXPECT_FALSE(note(8)->skipped);
    EXPECT_NE(note(8)->reason.find("\"HELLO\""), std::string::npos) << note(8)->reason;
    EXPECT_EQ(t.chan(7).ChannelName.text(), "HELLO");
    EXPECT_EQ(t.chan(7).PttId, 2);

    ASSERT_NE(note(9), nullptr);
    EXPECT_NE(note(9)->reason.find("moved into the band"), std::string::npos) << note(9)->reason;
    EXPECT_EQ(t.chan(13).RxFreq.text(), "47000000");
    EXPECT_TRUE(t.prompter.asked.empty());   // no message box per row

    ASSERT_NE(note(10), nullptr);
    const std::string& r10 = note(10)->reason;
    EXPECT_NE(r10.find("raster"), std::string::npos) << r10;
    EXPECT_NE(r10.find("88.6"), std::string::npos) << r10;
    EXPECT_NE(r10.find("\"AM\""), std::string::npos) << r10;
    EXPECT_NE(r10.find("\"Huge\""), std::string::npos) << r10;
    EXPECT_EQ(t.chan(14).TxTone, 0);
    EXPECT_EQ(r10.find("into the band"), std::string::npos) << r10;

    // The TX beyond the band is held at its edge; an offset off the raster
    // is snapped, and each says why.
    ASSERT_NE(note(11), nullptr);
    EXPECT_NE(note(11)->reason.find("TX offset +10 MHz became +5 MHz (TX moved into the band)"), std::string::npos)
        << note(11)->reason;
    EXPECT_EQ(t.chan(15).Offset.text(), "0500000");
    ASSERT_NE(note(12), nullptr);
    EXPECT_NE(note(12)->reason.find("(moved onto the raster)"), std::string::npos) << note(12)->reason;
    EXPECT_EQ(t.chan(16).Offset.text(), "0500000");
    EXPECT_TRUE(t.prompter.asked.empty());   // still no message box

    EXPECT_EQ(t.chan(5), keepBefore);   // untouched by every row
    EXPECT_EQ(t.s.doc.stored.Channels.count, docBefore.Channels.count + 4);

    const std::string text = FormatImportReport(rep);
    EXPECT_NE(text.find("5 of 11 rows imported, 6 skipped, 5 changed."), std::string::npos) << text;
    EXPECT_NE(text.find("Line 6 (channel 11): skipped"), std::string::npos) << text;
}

TEST(ChannelCsvImport, UnreadableFilesChangeNothing) {
    CsvSession t;
    t.add(1, "462.5625").ChannelName.set("ONE");
    const StoredDocument before = t.s.doc.stored;
    zrtest::TempDir dir;

    CsvImportReport r = ImportChannelCsvFile(t.s, dir.str("missing.csv"));
    EXPECT_FALSE(r.readable);
    EXPECT_NE(r.error.find("cannot open"), std::string::npos);

    zrtest::writeBytes(dir.path() / "binary.csv", {0x4C, 0x6F, 0x00, 0x01, 0xFF, 0x0A});
    r = ImportChannelCsvFile(t.s, dir.str("binary.csv"));
    EXPECT_FALSE(r.readable);

    r = ImportChannelCsv(t.s, std::string(kHeader) + "2,\"NAME,462.5625,,,\n3,X,462.5,,,\n");
    EXPECT_FALSE(r.readable);
    EXPECT_NE(r.error.find("not closed"), std::string::npos);

    r = ImportChannelCsv(t.s, "Channel,Freq\n2,462.5625\n");
    EXPECT_FALSE(r.readable);
    r = ImportChannelCsv(t.s, "");
    EXPECT_FALSE(r.readable);
    EXPECT_NE(FormatImportReport(r).find("not imported"), std::string::npos);

    EXPECT_EQ(t.s.doc.stored, before);
    EXPECT_TRUE(t.prompter.asked.empty());
}

TEST(ChannelCsvImport, DuplicateLocationsUseTheLastRowAndNamesOf446Band) {
    CsvSession t("446 - 447 MHz");
    const std::string csv = std::string(kHeader) +
                            "4,FIRST,446.00625,,0,,,,,,,,,,,,,,,,\n"
                            "4,SECOND,446.01875,,0,,,,,,,,,,,,,,,,\n";
    const CsvImportReport rep = ImportChannelCsv(t.s, csv);
    ASSERT_EQ(rep.notes.size(), 1u);
    EXPECT_EQ(rep.notes[0].line, 2);
    EXPECT_TRUE(rep.notes[0].skipped);
    EXPECT_EQ(t.chan(4).ChannelName.text(), "SECOND");
    EXPECT_EQ(t.chan(4).RxFreq.text(), "44601875");
    // No Mode or Power column value: the band's new-channel defaults stay.
    EXPECT_EQ(t.chan(4).Bandwidth, 2);
    EXPECT_EQ(t.chan(4).TxPower, 0);
}

// The clipboard text of Copy: the CSV rows of the chosen channels with the
// header, separated by tabs; Paste reads it (or a spreadsheet's) back at a
// chosen channel, keeping the distances between the rows.
TEST(ChannelClipboardText, CopiedChannelsPasteIntoAnotherDocumentAtAnotherRow) {
    CsvSession src;
    ChannelRecord& a = src.add(3, "462.5625");
    a.ChannelName.set("BASE");
    a.RxTone = a.TxTone = 13;
    a.OffsetDir = 2;
    a.Offset.set("0500000");
    ChannelRecord& b = src.add(7, "446.00625");
    b.ChannelName.set("A B");
    b.TxPower = 0;
    src.add(5, "450.0");        // not chosen

    const std::string text = ExportChannelsText(src.s, {3, 7, 9}, '\t');
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 3u) << text;   // header and two channels; 9 is empty
    std::string header = kHeader;
    header.pop_back();
    std::replace(header.begin(), header.end(), ',', '\t');
    EXPECT_EQ(lines[0], header);
    EXPECT_EQ(lines[1].substr(0, 19), "3\tBASE\t462.562500\t+");
    EXPECT_EQ(lines[2].substr(0, 17), "7\tA B\t446.006250\t");

    CsvSession dst;
    const CsvImportReport rep = ImportChannelCsv(dst.s, text, 10);
    ASSERT_TRUE(rep.readable) << rep.error;
    EXPECT_EQ(rep.imported, 2);
    EXPECT_TRUE(rep.notes.empty()) << FormatImportReport(rep);
    ASSERT_NE(dst.ch(10), nullptr);
    ASSERT_NE(dst.ch(14), nullptr);
    EXPECT_EQ(dst.s.doc.stored.Channels.count, 2);
    for (auto [from, to] : {std::pair{3, 10}, std::pair{7, 14}}) {
        ChannelRecord want = *src.ch(from);
        want.ChannelNumber = static_cast<int16_t>(to);
        EXPECT_EQ(*dst.ch(to), want) << "channel " << from << " pasted at " << to;
    }
}

TEST(ChannelClipboardText, SpreadsheetTextAndRowsBeyondTheLastChannel) {
    CsvSession t;
    // A spreadsheet copies only the columns it has, lines ended by LF.
    const std::string sheet = "Location\tFrequency\tName\n20\t462.55\tgate\n22\t462.6\tyard\n25\t462.65\t\n";
    CsvImportReport rep = ImportChannelCsv(t.s, sheet, 126);
    ASSERT_TRUE(rep.readable) << rep.error;
    EXPECT_EQ(rep.imported, 2);
    const auto skipped = std::find_if(rep.notes.begin(), rep.notes.end(), [](const CsvImportNote& n) { return n.skipped; });
    ASSERT_NE(skipped, rep.notes.end()) << FormatImportReport(rep);
    EXPECT_EQ(skipped->location, 25);
    EXPECT_NE(skipped->reason.find("131"), std::string::npos) << skipped->reason;
    EXPECT_EQ(std::count_if(rep.notes.begin(), rep.notes.end(), [](const CsvImportNote& n) { return n.skipped; }), 1);
    ASSERT_NE(t.ch(126), nullptr);
    ASSERT_NE(t.ch(128), nullptr);
    EXPECT_EQ(t.ch(126)->ChannelName.text(), "GATE");
    EXPECT_EQ(t.ch(128)->RxFreq.text(), "46260000");

    // Without a row the locations of the text are used, and comma CSV works
    // the same way through the same call.
    rep = ImportChannelCsv(t.s, "Location,Frequency\n4,446.1\n", 0);
    EXPECT_EQ(rep.imported, 1);
    ASSERT_NE(t.ch(4), nullptr);
    EXPECT_EQ(t.ch(4)->RxFreq.text(), "44610000");

    // Text without the columns changes nothing and says why.
    const StoredDocument before = t.s.doc.stored;
    rep = ImportChannelCsv(t.s, "just some words\tand more\n", 1);
    EXPECT_FALSE(rep.readable);
    EXPECT_FALSE(rep.error.empty());
    EXPECT_EQ(t.s.doc.stored, before);
}
