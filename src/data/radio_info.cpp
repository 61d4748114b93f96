#include "data/radio_info.h"

#include <string>

#include "data/codec_util.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"

namespace zr {

using namespace codec;

namespace {

std::string textAt(const RmgImage& image, int offset, int length) {
    return CleanText(textUntilEnd(image, static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
}

// A fixed-length field receives the text followed by one NUL, blank-padded
// (cut to the field when the text fills it).
template <std::size_t N>
void putText(FixedText<N>& field, const std::string& text) {
    field.set(text + '\0');
}

}  // namespace

void DecodeRadioInfo(const RmgImage& image, RadioInfoRecord& info) {
    info.SalesArea = textAt(image, 0, 4);
    putText(info.SerialNo, textAt(image, 48, 16));
    putText(info.FactoryDate, textAt(image, 64, 16));
    putText(info.BatchNo, textAt(image, 16, 8));
    putText(info.CustomerCode, textAt(image, 32, 4));
    putText(info.RepairDate, textAt(image, 80, 16));
    putText(info.DealerCode, textAt(image, 448, 16));
    putText(info.StockInTime, textAt(image, 464, 16));
    putText(info.SaleTime, textAt(image, 480, 16));
    putText(info.Handler, textAt(image, 496, 16));
    putText(info.RepairReason, textAt(image, 96, 96));
}

}  // namespace zr
