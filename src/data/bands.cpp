#include "data/bands.h"

#include "data/document.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"
#include "shell/session.h"

namespace zr {

const std::vector<BandEntry>& BandTable() {
    static const std::vector<BandEntry> kBands = {
        {0, "400 - 470 MHz"},  {1, "460 - 470 MHz"},  {2, "400 - 440 MHz"},
        {3, "440 - 470 MHz"},  {4, "446 - 447 MHz"},  {5, "430 - 432 MHz"},
        {6, "430 - 440 MHz"},  {7, "430 - 470 MHz"},  {8, "136 - 174 MHz"},
        {9, "136 - 150 MHz"},  {10, "150 - 174 MHz"}, {11, "136 - 145 MHz"},
        {12, "145 - 174 MHz"}, {13, "144 - 146 MHz"}, {14, "144 - 148 MHz"},
        {16, "350 - 390 MHz"}, {32, "450 - 520 MHz"}};
    return kBands;
}

std::string BandText(int code) {
    for (const auto& b : BandTable())
        if (b.code == code) return b.text;
    return {};
}

int16_t BandCode(std::string_view text) {
    for (const auto& b : BandTable())
        if (text == b.text) return b.code;
    return 0;
}

namespace {
std::string CleanModel(std::string_view m);
}

std::string ModelIdFromDisplayName(std::string_view displayName) {
    std::string t = CleanModel(displayName);
    return t == kModelDisplayName ? std::string(kModelId) : t;
}

std::string ModelDisplayName(std::string_view modelId) {
    std::string t = CleanModel(modelId);
    return t == kModelId ? std::string(kModelDisplayName) : t;
}

namespace {
double NumberAt(std::string_view text, std::size_t from, std::size_t count) {
    if (text.size() < from) return 0;
    auto v = ParseNumber(text.substr(from, count));
    return v ? *v : 0;
}

// Cleaned for comparison: trailing blanks and everything from the first NUL.
std::string CleanModel(std::string_view m) {
    std::size_t nul = m.find('\0');
    if (nul != std::string_view::npos) m = m.substr(0, nul);
    return CleanText(m);
}
}  // namespace

double BandLowerLimit(std::string_view bandText) { return NumberAt(bandText, 0, 3); }
double BandUpperLimit(std::string_view bandText) { return NumberAt(bandText, 6, 3); }

BandLimits LimitsOf(const RadioDocument& doc) { return BandLimits{doc.bandLower, doc.bandUpper}; }

void RefreshBandLimits(RadioDocument& doc) {
    doc.bandLower = BandLowerLimit(doc.currentBand);
    doc.bandUpper = BandUpperLimit(doc.currentBand);
}

void RefreshModelBand(RadioDocument& doc) {
    doc.stored.ModelBand.ModelId.set(doc.currentModel);
    doc.stored.ModelBand.BandCode = BandCode(doc.currentBand);
}

void ApplyModelBand(RadioDocument& doc) {
    doc.currentModel = CleanModel(doc.stored.ModelBand.ModelId.raw());
    doc.stored.ModelBand.ModelId.set(doc.currentModel);
    doc.currentBand = BandText(doc.stored.ModelBand.BandCode);
    doc.radioInfo.ModelText = doc.currentModel;
    doc.radioInfo.BandCode = doc.stored.ModelBand.BandCode;
    RefreshBandLimits(doc);
}

bool ModelMatches(std::string_view documentModel, std::string_view radioModel, int transferKind) {
    const std::string doc = CleanModel(documentModel);
    const std::string radio = CleanModel(radioModel);
    if (doc == radio) return true;
    if (transferKind == 2) return false;
    return radio == kModelId;
}

void AlignIdCodeLengths(Session& s) {
    StoredDocument& d = s.doc.stored;
    const int16_t wanted = d.Dtmf.DtmfSignalling != 0 ? 3 : 10;
    const int count = std::min<int>(std::max<int>(d.Channels.count, 0), kMaxChannels);
    bool changed = false;
    for (int i = 0; i < count; ++i) {
        ChannelRecord& c = d.Channels.entries[static_cast<std::size_t>(i)];
        if (c.IdCodeLength == wanted) continue;
        c.IdCodeLength = wanted;
        // Only a code that no longer fits the wanted length is reset.
        if (CleanText(c.IdCode.raw()).size() > static_cast<std::size_t>(wanted)) c.IdCode.set("000");
        changed = true;
    }
    if (changed) s.doc.changes.allChannels();
}

}  // namespace zr
