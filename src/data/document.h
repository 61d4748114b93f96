#pragma once
// The one radio document of a run: the decoded channels and settings that the
// windows edit, the model and band, the memory images exchanged with the
// radio, and the bookkeeping of the file it belongs to.

#include <array>
#include <cstdint>
#include <string>

#include "data/document_changes.h"
#include "data/records.h"

namespace zr {

inline constexpr int kRadioImageSize = 5120;   // radio addresses 0..5119
inline constexpr int kRmgImageSize = 512;      // radio addresses 5120..5631
inline constexpr int kRmgBaseAddress = 5120;
inline constexpr int kTestDataAddress = 8176;  // 16 bytes of factory test data

using RadioImage = std::array<uint8_t, kRadioImageSize>;
using RmgImage = std::array<uint8_t, kRmgImageSize>;

// The members of a document that its file stores, in file order.
struct StoredDocument {
    FixedText<4> FormatVersion{"V100"};
    ChannelList Channels;
    std::array<FmChannel, kFmChannels> FmChannels{};
    std::array<TestFreqEntry, kTestFreqEntries> TestFreqs{};
    ModelBandRecord ModelBand;
    OptFeatRecord OptFeat;
    DtmfRecord Dtmf;
    EmbMsgRecord EmbMsg;
    KeyRecord Keys;
    AlertRecord Alert;
    ScanRecord Scan;
    uint8_t AlarmMode = 0;

    bool operator==(const StoredDocument&) const = default;
};

// Dealer and service information decoded from the RmgImage; kept beside the
// document for the whole run, never stored in a document file.
struct RadioInfoRecord {
    int16_t BandCode = 0;
    FixedText<16> SpareText;
    FixedText<16> SerialNo;
    FixedText<16> FactoryDate;
    FixedText<16> RepairDate;
    FixedText<96> RepairReason;
    std::string VersionInfo;
    std::string ModelText;
    std::string SalesArea;
    FixedText<8> BatchNo;
    FixedText<4> CustomerCode;
    FixedText<16> DealerCode;
    FixedText<16> StockInTime;
    FixedText<16> SaleTime;
    FixedText<16> Handler;

    bool operator==(const RadioInfoRecord&) const = default;
};

struct RadioDocument {
    StoredDocument stored;      // what the windows edit in place
    StoredDocument saved;       // state at the last new, open or save

    std::string currentModel = "ZR614";
    std::string currentBand = "460 - 470 MHz";
    double bandLower = 460.0;   // MHz
    double bandUpper = 470.0;   // MHz

    RadioImage image{};
    RmgImage rmgImage{};
    RadioInfoRecord radioInfo;
    std::array<uint8_t, 4> radioFlags{};  // flags of the last radio, byte 5116 bits 3..0

    std::string fileName = "new.dat";
    bool neverSaved = true;

    FactoryTestData testData;       // working copy
    FactoryTestData savedTestData;  // saved copy

    DocumentChanges changes;        // what the rules changed, not yet taken
};

}  // namespace zr
