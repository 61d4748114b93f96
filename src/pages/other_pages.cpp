#include "pages/other_pages.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "data/fm_channels.h"
#include "factory/test_data.h"

namespace zr::pages {

// --- FM broadcast channels --------------------------------------------------

std::string FmShownText(const FixedText<8>& stored) {
    std::string t = stored.text();
    if (t.empty() || t == "FFFFFFFF" || t.size() < 4) return {};
    for (char c : t)
        if (c < '0' || c > '9') return {};
    long whole = std::stol(t.substr(0, 3));
    std::string frac = t.substr(3);
    frac.resize(5, '0');
    return std::to_string(whole) + "." + frac;
}

FmPage::FmPage(StoredDocument& doc, std::function<void()> revalidate)
    : doc_(doc), revalidate_(std::move(revalidate)) {}

std::string FmPage::cellText(int row) const {
    if (row < 1 || row > kRows) return {};
    const FmChannel& ch = doc_.FmChannels[row - 1];
    if (ch.IsEmpty != 0) return {};
    return FmShownText(ch.FmFreq);
}

void FmPage::commit(int row, const std::string& typed) {
    if (row < 1 || row > kRows) return;
    FmChannel& ch = doc_.FmChannels[row - 1];
    std::string s = CheckRadioFre(typed);
    ch.IsEmpty = s.empty() ? 1 : 0;
    ch.FmFreq.set(s.empty() ? std::string() : GetSaveRadioFreData(s));
    if (revalidate_) revalidate_();
}

// --- Dealer information -----------------------------------------------------

RadioInfoView ShowByData(const RadioInfoRecord& info) {
    auto clean = [](const std::string& s) {
        std::string t = s.substr(0, s.find('\0'));
        while (!t.empty() && t.back() == ' ') t.pop_back();
        return t;
    };
    RadioInfoView v;
    v.models = {"ZR-M83K"};
    v.bands = {"400 - 470 MHz", "GMRS"};
    v.bandIndex = (info.BandCode == 0 || info.BandCode == 1) ? info.BandCode : -1;
    v.fields = {
        {21002, clean(info.SalesArea), 4},
        {21003, info.BatchNo.text(), 16},
        {21004, info.CustomerCode.text(), 16},
        {21005, v.models[0], 0},
        {21006, v.bandIndex >= 0 ? v.bands[v.bandIndex] : std::string(), 0},
        {21007, info.SerialNo.text(), 16},
        {21008, info.FactoryDate.text(), 16},
        {21009, info.RepairDate.text(), 16},
        {21010, clean(info.VersionInfo), 16},
        {21011, info.RepairReason.text(), 96, true},
        {21013, info.DealerCode.text(), 16},
        {21014, info.StockInTime.text(), 16},
        {21015, info.SaleTime.text(), 16},
        {21016, info.Handler.text(), 16},
    };
    return v;
}

// --- Factory test data dialog ----------------------------------------------

const std::array<const char*, TestDataDialogModel::kBoxes>& TestDataDialogModel::labels() {
    static const std::array<const char*, kBoxes> l = {
        "Freq", "PowerH", "PowerM", "PowerL", "发射音频频偏", "DTMF 频偏",
        "单音1.5K频偏", "D017N频偏", "67.0Hz频偏", "136.5Hz频偏", "254.1Hz频偏"};
    return l;
}

TestDataDialogModel::TestDataDialogModel(const FactoryTestData& working) : local_(working) {
    localToBoxes();
}

std::string TestDataDialogModel::NormaliseBox(const std::string& text) {
    double v = 0;
    const char* b = text.data();
    const char* e = b + text.size();
    auto [p, ec] = std::from_chars(b, e, v);
    if (text.empty() || ec != std::errc() || p != e || !std::isfinite(v)) return "0";
    double r = std::nearbyint(v);  // the default rounding mode rounds halves to even
    if (r < 0) return "0";
    if (r > 255) return "255";
    return std::to_string(static_cast<int>(r));
}

std::string TestDataDialogModel::ProposedSavePath(const std::string& documentPath) {
    if (documentPath.size() < 3) return "ted";
    return documentPath.substr(0, documentPath.size() - 3) + "ted";
}

const std::string& TestDataDialogModel::setBox(int i, const std::string& text) {
    static const std::string none;
    if (i < 0 || i >= kBoxes) return none;
    boxes_[i] = NormaliseBox(text);
    return boxes_[i];
}

void TestDataDialogModel::boxesToLocal() {
    for (int i = 0; i < kBoxes; ++i)
        local_.bytes[i] = static_cast<uint8_t>(std::stoi(NormaliseBox(boxes_[i])));
}

void TestDataDialogModel::localToBoxes() {
    for (int i = 0; i < kBoxes; ++i) boxes_[i] = std::to_string(local_.bytes[i]);
}

void TestDataDialogModel::load(const std::string& path) {
    ReadTestDataFile(path, local_);
    localToBoxes();
}

bool TestDataDialogModel::save(const std::string& path) {
    boxesToLocal();
    return WriteTestDataFile(path, local_);
}

void TestDataDialogModel::accept(FactoryTestData& working) {
    boxesToLocal();
    working = local_;
}

}  // namespace zr::pages
