#pragma once
// Channel list operations: the one way in which channels are changed.
//
// A channel is addressed by its ChannelNumber (1..128, 129 = VFO); a number
// without a record is an empty channel. SetChannelItem changes one item of
// one channel (items 1..21 below), creating the channel when its RX
// frequency is set and deleting it when the RX frequency is cleared; every
// call notes channel n in the document's changes (data/document_changes.h).
// RevalidateChannelRefs corrects the channel references of the optional
// features and notes that record as changed.
//
// Items: 1 RxFreq (displayed MHz text; empty clears the channel), 2 TX text
// (TX frequency, or the signed offset with the UseOffset habit), 3
// ChannelName, 4 RxTone, 5 TxTone, 6 TxPower, 7 ScanSkip, 8 OptSignal,
// 9 Bandwidth, 10 PttId, 11 BusyLock, 12 ReverseTalkaround,
// 13 AutoDialMemory, 14 Scramble, 15 TxInhibit, 16 Talkaround, 17 Reverse,
// 18 Whisper, 19 Compander, 20 IdCode, 21 SignalRelation.
//
// The operations show nothing: what an edit had to correct comes back as
// ChannelNotes, and the caller tells the user (or stays silent).

#include <optional>
#include <string>
#include <string_view>

namespace zr {

struct Session;
struct ChannelRecord;
struct BandLimits;

namespace item {
inline constexpr int kRxFreq = 1, kTxFreq = 2, kName = 3, kRxTone = 4, kTxTone = 5, kTxPower = 6,
                     kScanSkip = 7, kOptSignal = 8, kBandwidth = 9, kPttId = 10, kBusyLock = 11,
                     kReverseTalkaround = 12, kAutoDialMemory = 13, kScramble = 14,
                     kTxInhibit = 15, kTalkaround = 16, kReverse = 17, kWhisper = 18,
                     kCompander = 19, kIdCode = 20, kSignalRelation = 21;
}

// List position of the first record with that number, or nothing.
std::optional<int> FindChannel(const Session& s, int channelNumber);
// The record of that number, or null.
ChannelRecord* FindChannelRecord(Session& s, int channelNumber);
const ChannelRecord* FindChannelRecord(const Session& s, int channelNumber);

// A record exists, its RxFreq is neither empty nor "FFFFFFFF", IsEmpty is 0.
bool ChannelHasFrequency(const Session& s, int channelNumber);

// What an edit of a channel had to correct. The program tells each with
// language text 9021, the frequency first.
struct ChannelNotes {
    bool movedIntoBand = false;   // the frequency given lay outside the band: moved to its edge
    bool txHeldInBand = false;    // the new RX carried the kept TX out of the band: TX moved to its edge
    bool any() const { return movedIntoBand || txHeldInBand; }
    ChannelNotes& operator|=(const ChannelNotes& o) {
        movedIntoBand = movedIntoBand || o.movedIntoBand;
        txHeldInBand = txHeldInBand || o.txHeldInBand;
        return *this;
    }
    bool operator==(const ChannelNotes&) const = default;
};

// Text items take the text, number items read it as a whole number.
ChannelNotes SetChannelItem(Session& s, int channelNumber, int item, std::string_view value);
// Number items take the number, text items its decimal text.
ChannelNotes SetChannelItem(Session& s, int channelNumber, int item, int value);

// Appends a channel with the defaults (RX from a displayed MHz text, or a
// number in MHz taken in its shortest form) and re-checks the channel
// references. Returns its list position, or nothing when the list is full.
std::optional<int> NewChannel(Session& s, int channelNumber, std::string_view rxText);
std::optional<int> NewChannel(Session& s, int channelNumber, double rxMHz);

// Removes the record at a list position (out-of-range positions do nothing);
// the records behind it move forward.
void DeleteChannelAt(Session& s, int position);   // then RevalidateChannelRefs
void RemoveChannelAt(Session& s, int position);   // without the re-check
void RemoveChannel(Session& s, int channelNumber); // first record of that number, no re-check

// Corrects the channel references of the optional features, then notes the
// record as changed (what shows it re-reads it and its channel lists).
void RevalidateChannelRefs(Session& s);
// The correction alone: the priority channel becomes 0 unless it names a
// memory channel with a frequency and without scan skip; the current and
// direct channels that name no memory channel (1..128, never the VFO) go to
// the last memory channel of the list; with no memory channel the work mode
// becomes 0 (current channel kept) and the direct channels 0. The FM current
// channel goes to the lowest FM channel in use, or the radio work mode to 0.
void RevalidateChannelRefsClosed(Session& s);

// Moves the TX frequency of c into the band, keeping the RX (the offset
// changes); true when it lay outside.
bool HoldTxInBand(const BandLimits& band, ChannelRecord& c);

// 3 when the channel's reference tone (TxTone with Reverse set, else RxTone)
// is not 0, else 2; with 2 a BusyLock of 2 becomes 1. 2 for a missing channel.
int BusyLockChoiceCount(Session& s, int channelNumber);

}  // namespace zr
