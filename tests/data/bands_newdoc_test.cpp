#include <gtest/gtest.h>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "shell/session.h"
#include "support/support.h"

namespace {


zr::Session SessionWithBand(const char* band) {
    zr::Session s;
    s.doc.currentBand = band;
    zr::RefreshBandLimits(s.doc);
    return s;
}

}  // namespace

TEST(BandTable, CodesTextsAndLimits) {
    EXPECT_EQ(zr::BandTable().size(), 17u);
    EXPECT_EQ(zr::BandCode("GMRS"), 0);
    EXPECT_EQ(zr::BandCode("446 - 447 MHz"), 4);
    EXPECT_EQ(zr::BandCode("450 - 520 MHz"), 32);
    EXPECT_EQ(zr::BandText(15), "");
    EXPECT_EQ(zr::BandText(20), "");
    EXPECT_EQ(zr::BandText(16), "350 - 390 MHz");
    EXPECT_EQ(zr::BandText(-1), "");
    for (const auto& b : zr::BandTable()) EXPECT_EQ(zr::BandCode(zr::BandText(b.code)), b.code);

    zr::RadioDocument doc;
    doc.currentBand = "136 - 174 MHz";
    zr::RefreshBandLimits(doc);
    EXPECT_DOUBLE_EQ(doc.bandLower, 136.0);
    EXPECT_DOUBLE_EQ(doc.bandUpper, 174.0);
    doc.currentBand = "";
    zr::RefreshBandLimits(doc);
    EXPECT_DOUBLE_EQ(doc.bandLower, 0.0);
}

TEST(ModelIdentity, MappingsAndTransferCheck) {
    EXPECT_EQ(zr::ModelIdFromDisplayName(std::string("ZR-E271  \0x", 11)), "ZR614");
    EXPECT_EQ(zr::ModelIdFromDisplayName("ZR-M83K"), "ZR-M83K");
    EXPECT_EQ(zr::ModelDisplayName("ZR614  "), "ZR-E271");
    EXPECT_EQ(zr::ModelDisplayName("OTHER"), "OTHER");

    EXPECT_TRUE(zr::ModelMatches("ZR614", "ZR614", 2));
    EXPECT_TRUE(zr::ModelMatches("ZR-M83K", "ZR614", 1));
    EXPECT_FALSE(zr::ModelMatches("ZR-M83K", "ZR614", 2));
    EXPECT_FALSE(zr::ModelMatches("ZR614", "ZR999", 1));
    EXPECT_TRUE(zr::ModelMatches(std::string("ZR614\0  ", 8), "ZR614", 2));
}

TEST(ModelBand, RefreshAndApply) {
    zr::RadioDocument doc;
    doc.currentModel = "ZR614";
    doc.currentBand = "446 - 447 MHz";
    zr::RefreshModelBand(doc);
    EXPECT_EQ(doc.stored.ModelBand.ModelId.raw(), "ZR614  ");
    EXPECT_EQ(doc.stored.ModelBand.BandCode, 4);

    doc.stored.ModelBand.ModelId.bytes = {'Z', 'R', '7', '\0', 'x', ' ', ' '};
    doc.stored.ModelBand.BandCode = 8;
    zr::ApplyModelBand(doc);
    EXPECT_EQ(doc.currentModel, "ZR7");
    EXPECT_EQ(doc.stored.ModelBand.ModelId.raw(), "ZR7    ");
    EXPECT_EQ(doc.currentBand, "136 - 174 MHz");
    EXPECT_EQ(doc.radioInfo.ModelText, "ZR7");
    EXPECT_EQ(doc.radioInfo.BandCode, 8);
    EXPECT_DOUBLE_EQ(doc.bandUpper, 174.0);
}

TEST(AlignIdCodes, LengthFollowsDtmfAndLongCodesSurviveWhenTheyFit) {
    zr::Session s = SessionWithBand("400 - 470 MHz");
    s.doc.changes.take();
    auto& l = s.doc.stored.Channels;
    l.count = 3;
    l.entries[0].IdCode.set("1234567");
    l.entries[0].IdCodeLength = 0;   // as decoded from a radio
    l.entries[1].IdCode.set("12");
    l.entries[1].IdCodeLength = 0;
    l.entries[2].IdCode.set("99999");
    l.entries[2].IdCodeLength = 10;  // already right: untouched
    l.entries[3].IdCode.set("55555");  // beyond the count
    s.doc.stored.Dtmf.DtmfSignalling = 0;
    zr::AlignIdCodeLengths(s);
    EXPECT_EQ(l.entries[0].IdCodeLength, 10);
    EXPECT_EQ(l.entries[0].IdCode.text(), "1234567");  // fits 10 digits: kept
    EXPECT_EQ(l.entries[1].IdCode.text(), "12");
    // Noted once for the windows to show the channels again.
    EXPECT_TRUE(s.doc.changes.take().hasAllChannels());
    zr::AlignIdCodeLengths(s);   // nothing left to align: nothing noted
    EXPECT_TRUE(s.doc.changes.empty());

    s.doc.stored.Dtmf.DtmfSignalling = 1;
    zr::AlignIdCodeLengths(s);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(l.entries[i].IdCodeLength, 3);
        EXPECT_LE(l.entries[i].IdCode.text().size(), 3u);
    }
    EXPECT_EQ(l.entries[0].IdCode.raw(), "000       ");
    EXPECT_EQ(l.entries[1].IdCode.text(), "12");
    EXPECT_EQ(l.entries[3].IdCode.text(), "55555");
}

TEST(NewDocument, DefaultsOfEveryRecord) {
    zr::Session s = SessionWithBand("460 - 470 MHz");
    s.doc.currentModel = "ZR-OTHER";
    s.doc.stored.OptFeat.SquelchLevel = 5;
    s.doc.stored.Dtmf.BotCode.Length = 2;
    s.doc.stored.Dtmf.BotCode.Digits.set("12");
    s.doc.stored.Dtmf.GroupCodes[3].Length = 3;
    s.doc.stored.FmChannels[4].IsEmpty = 0;
    s.doc.fileName = "/x/old.dat";
    s.doc.neverSaved = false;
    s.doc.changes.take();
    zr::NewDocumentDefaults(s, zr::CivilDate{2026, 3, 7});

    const auto& d = s.doc.stored;
    EXPECT_EQ(s.doc.fileName, "new.dat");
    EXPECT_TRUE(s.doc.neverSaved);
    EXPECT_EQ(d.FormatVersion.text(), "V100");

    // Exactly the VFO and channel 1, both at the middle of the band.
    ASSERT_EQ(d.Channels.count, 2);
    EXPECT_EQ(d.Channels.entries[0].ChannelNumber, 129);
    EXPECT_EQ(d.Channels.entries[1].ChannelNumber, 1);
    EXPECT_EQ(d.Channels.entries[0].RxFreq.text(), "46500000");
    EXPECT_EQ(d.Channels.entries[1].RxFreq.text(), "46500000");
    EXPECT_TRUE(s.doc.changes.isReplaced());   // what shows the document shows the new one

    EXPECT_EQ(d.OptFeat.SquelchLevel, 0);
    EXPECT_EQ(d.OptFeat.ChDisplayMode, 1);
    EXPECT_EQ(d.OptFeat.TailElimMode, 3);
    EXPECT_EQ(d.OptFeat.FmCurrentCh, 1);
    // The current and direct channels name channel 1, not the VFO created first.
    EXPECT_EQ(d.OptFeat.UhfCurrentCh, 1);
    EXPECT_EQ(d.OptFeat.DirectCh1, 1);
    EXPECT_EQ(d.OptFeat.DirectCh2, 1);
    EXPECT_EQ(d.OptFeat.PowerOnText.raw(), std::string("\0           ", 12));
    for (const auto& line : d.EmbMsg.Lines) EXPECT_EQ(line.raw(), std::string("\0               ", 16));
    EXPECT_EQ(d.Dtmf.GroupCodes[3].Length, 0);
    EXPECT_EQ(d.Dtmf.GroupCodes[3].Digits.raw(), std::string(16, ' '));
    EXPECT_EQ(d.Dtmf.BotCode.Length, 2);  // kept from the document before
    EXPECT_EQ(zr::DtmfRecord{}.KillCode.Digits.raw(), std::string(16, '\0'));
    EXPECT_EQ(d.Scan.LookBackA, 20);
    EXPECT_EQ(d.Scan.LookBackB, 30);
    EXPECT_EQ(d.Scan.WaitTime, 6);
    EXPECT_EQ(d.Keys.LongPressTime, 20);
    for (const auto& fm : d.FmChannels) {
        EXPECT_EQ(fm.IsEmpty, 1);
        EXPECT_EQ(fm.FmFreq.raw(), "        ");
    }
    EXPECT_EQ(d.TestFreqs[0].TestFreq1.text(), "43510000");
    EXPECT_EQ(d.TestFreqs[10].TestFreq2.raw(), std::string("\0       ", 8));
    EXPECT_EQ(d.ModelBand.ModelId.text(), "ZR-OTHE");
    EXPECT_EQ(d.ModelBand.BandCode, 1);

    const auto& r = s.doc.radioInfo;
    EXPECT_EQ(r.BandCode, 1);
    EXPECT_EQ(r.FactoryDate.raw(), "2026-03-07      ");
    EXPECT_EQ(r.SaleTime.text(), "2026-03-07");
    EXPECT_EQ(r.BatchNo.raw(), "03-1-E-1");
    EXPECT_EQ(r.SerialNo.raw(), std::string("\0               ", 16));
    EXPECT_EQ(r.VersionInfo, "V1.00");
    EXPECT_EQ(r.ModelText, "ZR-OTHER");
    EXPECT_EQ(r.SalesArea, "0595");
    EXPECT_EQ(r.CustomerCode.raw(), "001A");

    EXPECT_TRUE(s.doc.saved == s.doc.stored);
}

TEST(NewDocument, BandSpecificValues) {
    zr::Session s = SessionWithBand("136 - 174 MHz");
    zr::NewDocumentDefaults(s);
    EXPECT_EQ(s.doc.stored.TestFreqs[0].TestFreq2.text(), "15510000");
    EXPECT_EQ(s.doc.stored.Channels.entries[1].RxFreq.text(), "15500000");
    EXPECT_EQ(s.doc.stored.Channels.entries[1].TxPower, 2);

    s = SessionWithBand("446 - 447 MHz");
    zr::NewDocumentDefaults(s);
    EXPECT_EQ(s.doc.stored.Channels.entries[1].RxFreq.text(), "44650000");
    EXPECT_EQ(s.doc.stored.Channels.entries[1].TxPower, 0);
    EXPECT_EQ(s.doc.stored.Channels.entries[1].Bandwidth, 2);
}
