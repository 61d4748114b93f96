#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "data/radio_info.h"

namespace {

using zr::RmgImage;

void put(RmgImage& im, int offset, const std::string& s) {
    std::copy(s.begin(), s.end(), im.begin() + offset);
}

TEST(RadioInfo, ErasedAreaGivesEmptyTexts) {
    RmgImage im{};
    im.fill(0xFF);
    zr::RadioInfoRecord info;
    info.SalesArea = "0595";
    info.SerialNo.set("OLD");
    info.BandCode = 1;
    info.VersionInfo = "V1.00";
    info.ModelText = "ZR614";
    info.SpareText.set("SPARE");
    zr::DecodeRadioInfo(im, info);
    EXPECT_EQ(info.SalesArea, "");
    for (const auto* f : {&info.SerialNo, &info.FactoryDate, &info.RepairDate, &info.DealerCode,
                          &info.StockInTime, &info.SaleTime, &info.Handler}) {
        EXPECT_EQ(f->raw(), std::string("\0               ", 16));
    }
    EXPECT_EQ(info.BatchNo.raw(), std::string("\0       ", 8));
    EXPECT_EQ(info.CustomerCode.raw(), std::string("\0   ", 4));
    EXPECT_EQ(info.RepairReason.text(), "");
    // Not read from the radio: unchanged.
    EXPECT_EQ(info.BandCode, 1);
    EXPECT_EQ(info.VersionInfo, "V1.00");
    EXPECT_EQ(info.ModelText, "ZR614");
    EXPECT_EQ(info.SpareText.text(), "SPARE");
}

TEST(RadioInfo, TextsEndAtZeroOrErasedBytes) {
    RmgImage im{};
    im.fill(0xFF);
    put(im, 0, "0595");
    put(im, 16, "12-1-E-1");           // fills its 8 bytes
    put(im, 32, std::string("AB\0D", 4));
    put(im, 44, "PASS");               // password, not part of the record
    put(im, 48, "SN000123  ");         // trailing blanks removed
    const std::string reason(96, 'r');
    put(im, 96, reason);
    put(im, 448, "DEALER");
    put(im, 496, "0123456789abcdef");
    zr::RadioInfoRecord info;
    zr::DecodeRadioInfo(im, info);
    EXPECT_EQ(info.SalesArea, "0595");
    EXPECT_EQ(info.BatchNo.raw(), "12-1-E-1");
    EXPECT_EQ(info.CustomerCode.raw(), std::string("AB\0 ", 4));
    EXPECT_EQ(info.SerialNo.raw(), std::string("SN000123\0       ", 16));
    EXPECT_EQ(info.RepairReason.raw(), reason);
    EXPECT_EQ(info.DealerCode.text(), "DEALER");
    EXPECT_EQ(info.Handler.raw(), "0123456789abcdef");

    im[2] = 0x00;
    zr::DecodeRadioInfo(im, info);
    EXPECT_EQ(info.SalesArea, "05");
}

}  // namespace
