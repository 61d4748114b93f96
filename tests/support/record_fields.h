#pragma once
// The integer fields of the settings records in the order in which a
// document file stores them, for tests that go through every field of a
// record one by one.

#include <cstdint>

#include "data/records.h"

namespace zrtest {

// Fields 1..34 of the optional features (PowerOnText, ChLock, AlarmSwitch,
// DirectCh1 and DirectCh2 follow them in the file).
inline constexpr int16_t zr::OptFeatRecord::*const kOptFeatLeadingFields[] = {
    &zr::OptFeatRecord::FreqStep,      &zr::OptFeatRecord::SquelchLevel,   &zr::OptFeatRecord::PriorityCh,
    &zr::OptFeatRecord::ChDisplayMode, &zr::OptFeatRecord::ScreenColor,    &zr::OptFeatRecord::Backlight,
    &zr::OptFeatRecord::BatterySave,   &zr::OptFeatRecord::TailElimMode,   &zr::OptFeatRecord::VoicePrompt,
    &zr::OptFeatRecord::KeyBeep,       &zr::OptFeatRecord::BeepVolume,     &zr::OptFeatRecord::ReservedFlag,
    &zr::OptFeatRecord::VoxTone,       &zr::OptFeatRecord::PowerOnDisplay, &zr::OptFeatRecord::CableClone,
    &zr::OptFeatRecord::FactoryTest,   &zr::OptFeatRecord::WhisperFunc,    &zr::OptFeatRecord::NoSigTailElim,
    &zr::OptFeatRecord::WorkMode,      &zr::OptFeatRecord::RadioWorkMode,  &zr::OptFeatRecord::ToneScanMode,
    &zr::OptFeatRecord::FmRadio,       &zr::OptFeatRecord::InvertFreq,     &zr::OptFeatRecord::UhfCurrentCh,
    &zr::OptFeatRecord::FmCurrentCh,   &zr::OptFeatRecord::TotTime,        &zr::OptFeatRecord::ScanPauseTime,
    &zr::OptFeatRecord::TotPreAlert,   &zr::OptFeatRecord::TotRekey,       &zr::OptFeatRecord::TotReset,
    &zr::OptFeatRecord::VoxEnable,     &zr::OptFeatRecord::VoxLevel,       &zr::OptFeatRecord::VoxDelay,
    &zr::OptFeatRecord::InhibitInit,
};

// The twelve integers before the code entries.
inline constexpr int16_t zr::DtmfRecord::*const kDtmfLeadingFields[] = {
    &zr::DtmfRecord::DtmfRate,       &zr::DtmfRecord::FirstDigitTime, &zr::DtmfRecord::FirstDigitDelay,
    &zr::DtmfRecord::StarHashTime,   &zr::DtmfRecord::DKeySetting,    &zr::DtmfRecord::SideTone,
    &zr::DtmfRecord::DtmfSignalling, &zr::DtmfRecord::CallAlert,      &zr::DtmfRecord::AutoAnswer,
    &zr::DtmfRecord::SeparatorCode,  &zr::DtmfRecord::GroupCode,      &zr::DtmfRecord::AutoResetTime,
};

inline constexpr int16_t zr::KeyRecord::*const kKeyFields[] = {
    &zr::KeyRecord::LongPressTime, &zr::KeyRecord::Pf1Long,   &zr::KeyRecord::Pf1Short,
    &zr::KeyRecord::Pf2Long,       &zr::KeyRecord::Pf2Short,  &zr::KeyRecord::Key3Long,
    &zr::KeyRecord::Key4Long,      &zr::KeyRecord::Key5Long,  &zr::KeyRecord::Key6Long,
    &zr::KeyRecord::Key3Short,     &zr::KeyRecord::Key4Short, &zr::KeyRecord::Key5Short,
    &zr::KeyRecord::Key6Short,
};

inline constexpr uint8_t zr::AlertRecord::*const kAlertFields[] = {
    &zr::AlertRecord::EmergencyAlarm, &zr::AlertRecord::EmgIdType,   &zr::AlertRecord::EmgIdGroup,
    &zr::AlertRecord::AlarmTime,      &zr::AlertRecord::AlertTxTime, &zr::AlertRecord::AlertRxTime,
    &zr::AlertRecord::ChannelSelect,  &zr::AlertRecord::EmgChannel,  &zr::AlertRecord::AlertCycles,
};

inline constexpr uint8_t zr::ScanRecord::*const kScanFields[] = {
    &zr::ScanRecord::ScanMode,      &zr::ScanRecord::PriorityMode,  &zr::ScanRecord::RevertChannel,
    &zr::ScanRecord::LookBackA,     &zr::ScanRecord::LookBackB,     &zr::ScanRecord::RxResumeDelay,
    &zr::ScanRecord::TxResumeDelay, &zr::ScanRecord::ScanEntryTone, &zr::ScanRecord::ScanExitTone,
    &zr::ScanRecord::PriorityCh1,   &zr::ScanRecord::PriorityCh2,   &zr::ScanRecord::WaitTime,
};

// The twenty code entries of the DTMF record: BOT, EOT, stun, kill, then
// the group codes 1..16.
inline zr::DtmfCodeEntry& DtmfCodeAt(zr::DtmfRecord& d, int i) {
    zr::DtmfCodeEntry* fixed[] = {&d.BotCode, &d.EotCode, &d.StunCode, &d.KillCode};
    return i < 4 ? *fixed[i] : d.GroupCodes[static_cast<std::size_t>(i - 4)];
}

}  // namespace zrtest
