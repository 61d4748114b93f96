#include <gtest/gtest.h>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "shell/describe.h"
#include "shell/session.h"

TEST(DescribeDocument, ListsChannelsInOrderWithTheirValues) {
    zr::Session s;
    s.doc.currentBand = "400 - 470 MHz";
    zr::RefreshBandLimits(s.doc);
    zr::NewDocumentDefaults(s, zr::CivilDate{2026, 1, 2});
    zr::SetChannelItem(s, 12, zr::item::kRxFreq, "446.00625");
    zr::SetChannelItem(s, 12, zr::item::kTxFreq, "451.00625");
    zr::SetChannelItem(s, 12, zr::item::kRxTone, 70);
    zr::SetChannelItem(s, 12, zr::item::kName, "BASE");
    s.doc.stored.FmChannels[2].IsEmpty = 0;
    s.doc.stored.FmChannels[2].FmFreq.set("09050000");
    const std::string text = zr::DescribeDocument(s);

    EXPECT_NE(text.find("Model ZR-E271 (ZR614), band 400 - 470 MHz (code 0)"), std::string::npos);
    EXPECT_NE(text.find("Channels: 3"), std::string::npos);
    const auto one = text.find("\n1    435.00000");
    const auto twelve = text.find("\n12   446.00625  451.00625  +5.00000  D023N  D023N");
    const auto vfo = text.find("\nVFO  435.00000");
    ASSERT_NE(one, std::string::npos) << text;
    ASSERT_NE(twelve, std::string::npos) << text;
    ASSERT_NE(vfo, std::string::npos) << text;
    EXPECT_LT(one, twelve);
    EXPECT_LT(twelve, vfo);
    EXPECT_NE(text.find("name \"BASE\""), std::string::npos);
    EXPECT_NE(text.find("3=90.50000"), std::string::npos);
    EXPECT_NE(text.find("Test frequencies: 43510000/43510000"), std::string::npos);
}
