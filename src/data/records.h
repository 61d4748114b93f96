#pragma once
// The decoded records of a radio document: channels and radio-wide settings.
// The field order of every record is the order in which a document file
// stores it. The records carry no behaviour; the rules that keep their values
// valid live with the code that edits them.

#include <array>
#include <cstdint>

#include "data/fixed_text.h"

namespace zr {

inline constexpr int kMaxChannels = 129;   // 128 memory channels and the VFO
inline constexpr int kVfoChannel = 129;    // ChannelNumber of the VFO
inline constexpr int kMemoryChannels = 128;
inline constexpr int kFmChannels = 20;
inline constexpr int kTestFreqEntries = 11;
inline constexpr int kToneCount = 1075;    // tone values 0..1074

struct ChannelRecord {
    int16_t ChannelNumber = 0;      // 1..128, 129 = VFO
    int16_t IsEmpty = 0;            // set by the encoder, cleared by the decoder
    FixedText<8> RxFreq;            // 8 digits, units of 10 Hz
    uint8_t OffsetDir = 0;          // 0 simplex, 1 minus, 2 plus
    FixedText<7> Offset;            // 7 digits, units of 10 Hz
    int16_t RxTone = 0;             // 0..1074
    int16_t TxTone = 0;             // 0..1074
    int16_t RxStep = 0;             // 0 = 5 kHz, 1 = 6.25 kHz
    int16_t OffsetStep = 0;         // 0 = 5 kHz, 1 = 6.25 kHz
    int16_t Scramble = 0;
    int16_t BusyLock = 0;           // 0..3
    int16_t ReverseTalkaround = 0;  // not in the radio
    int16_t TxInhibit = 0;
    int16_t Talkaround = 0;         // not in the radio
    int16_t Spare = 0;              // never read or written
    int16_t PttId = 0;              // 0..3
    int16_t Whisper = 0;
    int16_t Bandwidth = 0;          // 0..3
    int16_t OptSignal = 0;          // 0..3
    int16_t Compander = 0;
    int16_t Reverse = 0;            // not in the radio
    int16_t TxPower = 0;            // 0..2
    int16_t AutoDialMemory = 0;     // 0..255
    int16_t ScanSkip = 0;           // 1 = skipped by scan
    FixedText<6> ChannelName;
    FixedText<10> IdCode;           // 3..10 decimal digits
    int16_t IdCodeLength = 0;       // 3 or 10; not in the radio
    int16_t SignalRelation = 0;

    bool operator==(const ChannelRecord&) const = default;
};

// Up to 129 channel records; entries 0..count-1 are in use, in no fixed order.
// Entries at and beyond the count keep whatever they last held (document files
// store all 129 entries).
struct ChannelList {
    int16_t count = 0;
    std::array<ChannelRecord, kMaxChannels> entries{};

    bool operator==(const ChannelList&) const = default;
};

struct FmChannel {
    int16_t IsEmpty = 1;            // 1 = no frequency
    FixedText<8> FmFreq;            // e.g. 09050000 = 90.5 MHz

    bool operator==(const FmChannel&) const = default;
};

struct TestFreqEntry {
    FixedText<8> TestFreq1;
    FixedText<8> TestFreq2;

    bool operator==(const TestFreqEntry&) const = default;
};

struct ModelBandRecord {
    FixedText<7> ModelId;
    int16_t BandCode = 0;

    bool operator==(const ModelBandRecord&) const = default;
};

struct OptFeatRecord {
    int16_t FreqStep = 0;
    int16_t SquelchLevel = 0;
    int16_t PriorityCh = 0;
    int16_t ChDisplayMode = 0;
    int16_t ScreenColor = 0;
    int16_t Backlight = 0;
    int16_t BatterySave = 0;
    int16_t TailElimMode = 0;
    int16_t VoicePrompt = 0;
    int16_t KeyBeep = 0;
    int16_t BeepVolume = 0;
    int16_t ReservedFlag = 0;
    int16_t VoxTone = 0;
    int16_t PowerOnDisplay = 0;
    int16_t CableClone = 0;
    int16_t FactoryTest = 0;
    int16_t WhisperFunc = 0;
    int16_t NoSigTailElim = 0;
    int16_t WorkMode = 0;
    int16_t RadioWorkMode = 0;
    int16_t ToneScanMode = 0;
    int16_t FmRadio = 0;
    int16_t InvertFreq = 0;
    int16_t UhfCurrentCh = 0;
    int16_t FmCurrentCh = 0;
    int16_t TotTime = 0;
    int16_t ScanPauseTime = 0;
    int16_t TotPreAlert = 0;
    int16_t TotRekey = 0;
    int16_t TotReset = 0;
    int16_t VoxEnable = 0;
    int16_t VoxLevel = 0;
    int16_t VoxDelay = 0;
    int16_t InhibitInit = 0;
    FixedText<12> PowerOnText;
    int16_t ChLock = 0;
    int16_t AlarmSwitch = 0;
    int16_t DirectCh1 = 0;
    int16_t DirectCh2 = 0;

    bool operator==(const OptFeatRecord&) const = default;
};

struct DtmfCodeEntry {
    int16_t Length = 0;             // 0..16
    FixedText<16> Digits;

    bool operator==(const DtmfCodeEntry&) const = default;
};

// A code entry as the first document of a run holds it: length 0, NULs.
inline DtmfCodeEntry NulCodeEntry() {
    DtmfCodeEntry e;
    e.Digits.bytes.fill('\0');
    return e;
}

struct DtmfRecord {
    int16_t DtmfRate = 0;
    int16_t FirstDigitTime = 0;
    int16_t FirstDigitDelay = 0;
    int16_t StarHashTime = 0;
    int16_t DKeySetting = 0;
    int16_t SideTone = 0;
    int16_t DtmfSignalling = 0;
    int16_t CallAlert = 0;
    int16_t AutoAnswer = 0;
    int16_t SeparatorCode = 0;
    int16_t GroupCode = 0;
    int16_t AutoResetTime = 0;
    DtmfCodeEntry BotCode = NulCodeEntry();
    DtmfCodeEntry EotCode = NulCodeEntry();
    DtmfCodeEntry StunCode = NulCodeEntry();
    DtmfCodeEntry KillCode = NulCodeEntry();
    std::array<DtmfCodeEntry, 16> GroupCodes{};  // numbered 1..16

    bool operator==(const DtmfRecord&) const = default;
};

struct EmbMsgRecord {
    std::array<FixedText<16>, 4> Lines{};  // line 1..4

    bool operator==(const EmbMsgRecord&) const = default;
};

struct KeyRecord {
    int16_t LongPressTime = 20;     // tenths of a second, 10..25
    int16_t Pf1Long = 0;
    int16_t Pf1Short = 0;
    int16_t Pf2Long = 0;
    int16_t Pf2Short = 0;
    int16_t Key3Long = 0;
    int16_t Key4Long = 0;
    int16_t Key5Long = 0;
    int16_t Key6Long = 0;
    int16_t Key3Short = 0;
    int16_t Key4Short = 0;
    int16_t Key5Short = 0;
    int16_t Key6Short = 0;

    bool operator==(const KeyRecord&) const = default;
};

struct AlertRecord {
    uint8_t EmergencyAlarm = 0;
    uint8_t EmgIdType = 0;
    uint8_t EmgIdGroup = 0;
    uint8_t AlarmTime = 0;
    uint8_t AlertTxTime = 0;
    uint8_t AlertRxTime = 0;
    uint8_t ChannelSelect = 0;
    uint8_t EmgChannel = 0;
    uint8_t AlertCycles = 0;

    bool operator==(const AlertRecord&) const = default;
};

struct ScanRecord {
    uint8_t ScanMode = 0;
    uint8_t PriorityMode = 0;
    uint8_t RevertChannel = 0;
    uint8_t LookBackA = 20;
    uint8_t LookBackB = 30;
    uint8_t RxResumeDelay = 30;
    uint8_t TxResumeDelay = 30;
    uint8_t ScanEntryTone = 0;
    uint8_t ScanExitTone = 0;
    uint8_t PriorityCh1 = 0;
    uint8_t PriorityCh2 = 0;
    uint8_t WaitTime = 6;

    bool operator==(const ScanRecord&) const = default;
};

// Factory test mode: 16 bytes carried with every document and transfer.
struct FactoryTestData {
    std::array<uint8_t, 16> bytes{};

    bool operator==(const FactoryTestData&) const = default;
};

}  // namespace zr
