#pragma once
// Batch programming of a range of memory channels: the 21 edit items, the
// normalisation of the fields as the batch window applies it, the raster
// functions, Apply, and the item selection kept in "BatchFun.ini".

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <string_view>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "shell/session.h"

namespace zr {

inline constexpr int kBatchItems = 21;
using BatchFlags = std::array<uint8_t, kBatchItems>;

enum BatchItem {
    kBatchRxFreq = 0, kBatchTxFreq, kBatchRxTone, kBatchTxTone, kBatchName, kBatchIdCode,
    kBatchTxPower, kBatchOptSignal, kBatchPttId, kBatchBandwidth, kBatchBusyLock,
    kBatchRevTalk, kBatchAutoDial, kBatchSignalRelation, kBatchScanSkip, kBatchScramble,
    kBatchTxInhibit, kBatchTalkaround, kBatchReverse, kBatchWhisper, kBatchCompander,
};

enum class BatchTxMode { Default, Offset, Start };

// Every field of the batch window, as texts where the window shows texts.
struct BatchFields {
    bool allChannels = true;
    std::string fromText = "1";
    std::string toText = "128";
    bool clearOutside = false;

    std::string rxStart;            // lower band limit, "#0.00000"
    std::string rxStep = "0";
    bool rxDown = false;

    BatchTxMode txMode = BatchTxMode::Default;
    std::string offset = "0.00000";
    bool offsetMinus = false;
    std::string txStart;
    std::string txStep = "0";
    bool txDown = false;

    int rxToneStart = 0;
    std::string rxToneInterval = "0";
    bool rxToneDown = false;
    bool rxToneRandom = false;

    bool txToneDefault = true;
    bool txToneRandom = false;
    int txToneStart = 0;
    std::string txToneInterval = "0";
    bool txToneDown = false;

    bool nameNumbered = false;
    std::string nameText;
    std::string nameStart = "0";
    std::string nameStep = "0";
    bool nameDown = false;

    std::string idStart = "000";
    std::string idInterval = "0";
    bool idDown = false;

    int txPower = 0, optSignal = 0, pttId = 0, bandwidth = 0, busyLock = 0, revTalk = 0;
    int autoDial = 0;               // the memory number shown, 0 for the first entry
    int signalRelation = 0;
    bool scanSkip = false, scramble = false, txInhibit = false, talkaround = false;
    bool reverse = false, whisper = false, compander = false;
};

// The defaults of a fresh window for the document's band.
BatchFields DefaultBatchFields(const BandLimits& band);

// --- field rules -------------------------------------------------------
std::string NormaliseRangeText(std::string_view text);
// Start frequency: clamped to the band without a warning, put on the raster
// and shown with five decimals. An empty or non-numeric text falls back to
// the lower band limit.
std::string NormaliseStartFre(const BandLimits& band, std::string_view text);
// The step fields while typing: values above 1000 become "1000".
std::string LimitStepWhileTyping(std::string_view text);
std::string NormaliseStartId(std::string_view text);
// A step field never longer than its start field.
std::string CutToLengthOf(std::string_view text, std::string_view start);

// --- raster functions (units of 10 Hz) ---------------------------------
double StepDataFre(double mhz, double lowerLimit);
std::string StepDataFree(std::string_view mhzText);
std::string StepData(std::string_view khzText);
std::string DefaultData(std::string_view text, std::string_view defaultText);

// Every field of the selected items normalised as on leaving it.
void NormaliseBatchFields(const Session& s, const BatchFlags& items, BatchFields& f);

// Apply: normalises the fields (they show the result afterwards), then sets
// the channels of the range. A new RX that carries a kept offset's TX out of
// the band moves the TX to the band limit (noted as txHeldInBand, once for
// the whole range). Then the channel references are re-checked and all
// channels noted as changed. `random` gives uniform numbers in [0, 1); when
// empty, a generator seeded from the clock is used.
ChannelNotes ApplyBatch(Session& s, const BatchFlags& items, BatchFields& f,
                        std::function<double()> random = {});

// The channels the fields name: 1..128, or from..to in ascending order.
std::pair<int, int> BatchRange(const BatchFields& f);
// How many channels (1..129) differ between two lists: created, removed or
// changed in any item.
int CountChangedChannels(const ChannelList& before, const ChannelList& after);

// "Edit selected...": items set on chosen channels through SetChannelItem,
// the tones before the items whose choices depend on them. Empty channels
// are left alone. Returns how many channels changed.
struct ChannelItemValue {
    int item = 0;    // item number of SetChannelItem (channel_ops.h)
    int value = 0;
};
int SetItemsOnChannels(Session& s, const std::vector<int>& channels, std::vector<ChannelItemValue> items);

// The 21 flags are kept in BatchFun.ini: shell/settings_files.h SaveBatchFlags.

}  // namespace zr
