#pragma once
// Rules of the DTMF, scan, alert and programmable-key pages: their lists,
// how opening a page loads (and normalises) its record, how each choice is
// stored with its side effects, and the enable rules.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "data/document.h"
#include "pages/page_lists.h"

namespace zr::pages {

// --- DTMF -------------------------------------------------------------------

class DtmfPage {
public:
    enum ListId { Rate, FirstDigitTime, FirstDigitDelay, StarHash, DKey,
                  Signalling, CallAlert, Separator, Group, AutoReset, AutoAnswer,
                  ListCount };
    // Code texts: 0 BOT, 1 EOT, 2 stun, 3 kill, 4..19 group codes 1..16.
    static constexpr int kCodeCount = 20;
    static constexpr int kCaptionKey = 18000;
    static constexpr int kHelpContext = 3400;

    // afterSignalling: runs after every store of DtmfSignalling (the ID code
    // length follow-up). groupCodeChanged: a numbered code changed.
    DtmfPage(StoredDocument& doc, TextFn text,
             std::function<void()> afterSignalling = {},
             std::function<void()> groupCodeChanged = {});

    void open();
    void choose(int list, int pos);
    void setSideTone(bool on);
    // Code text n now holds text (already filtered by the keyboard).
    void setCode(int n, const std::string& text);

    const Choice& list(int id) const { return lists_[id]; }
    bool sideTone() const { return sideTone_; }
    const std::string& code(int n) const { return codes_[n]; }

private:
    void store(int id);
    DtmfCodeEntry& entry(int n);

    StoredDocument& doc_;
    TextFn text_;
    std::function<void()> afterSignalling_;
    std::function<void()> groupCodeChanged_;
    std::array<Choice, ListCount> lists_{};
    bool sideTone_ = false;
    std::array<std::string, kCodeCount> codes_{};
};

// The code a DtmfCodeEntry shows: the first Length characters of Digits,
// cleaned; empty when Length is outside 1..16.
std::string ShownDtmfCode(const DtmfCodeEntry& e);
// Stores a code text into an entry: cleaned text, its length, blank-padded.
void StoreDtmfCode(DtmfCodeEntry& e, const std::string& text);

// --- Scan -------------------------------------------------------------------

class ScanPage {
public:
    enum ListId { Mode, Priority, PriorityCh1, PriorityCh2, Revert, LookBackA, LookBackB,
                  RxResume, TxResume, WaitTime, ListCount };
    static constexpr int kCaptionKey = 28000;
    static constexpr int kHelpContext = 3500;

    // scanModeChanged: runs after every change of the scan mode (RefreshKeyPage).
    ScanPage(StoredDocument& doc, TextFn text, std::function<void()> scanModeChanged = {});

    void open();
    void choose(int list, int pos);
    void setEntryTone(bool on);
    void setExitTone(bool on);

    const Choice& list(int id) const { return lists_[id]; }
    bool entryTone() const { return entryTone_; }
    bool exitTone() const { return exitTone_; }
    bool tonesEnabled() const { return tonesEnabled_; }
    const std::vector<std::string>& fullRevertList() const { return fullRevert_; }

private:
    void modeChanged();
    void priorityChanged();
    void initRevertList();
    void reselectRevert();
    void applyEnable();
    void store(int id);

    StoredDocument& doc_;
    TextFn text_;
    std::function<void()> scanModeChanged_;
    std::array<Choice, ListCount> lists_{};
    std::vector<std::string> fullRevert_;
    bool entryTone_ = false;
    bool exitTone_ = false;
    bool tonesEnabled_ = true;
    bool loading_ = false;
};

// --- Alert and emergency ----------------------------------------------------

class AlertPage {
public:
    enum ListId { AlarmMode, Emergency, IdType, IdGroup, AlarmTime, TxTime, RxTime,
                  ChannelSelect, EmgChannel, Cycles, ListCount };
    static constexpr int kCaptionKey = 27000;
    static constexpr int kHelpContext = 3600;

    AlertPage(StoredDocument& doc, TextFn text);

    void open();
    void choose(int list, int pos);

    const Choice& list(int id) const { return lists_[id]; }

private:
    void emergencyChanged();
    void idTypeChanged();
    void channelSelectChanged();
    void store(int id);

    StoredDocument& doc_;
    TextFn text_;
    std::array<Choice, ListCount> lists_{};
    std::vector<std::string> fullEmergency_;
};

// --- Programmable keys ------------------------------------------------------

class KeyPage {
public:
    // Lists 0..8 and 11..13 are the key lists, 9 the long-press time, 10 the
    // emergency long-press time (shown only), 14 the full function list.
    static constexpr int kListCount = 15;
    static constexpr int kFunctionList = 14;
    static constexpr int kLongPress = 9;
    static constexpr int kEmergencyLongPress = 10;
    static constexpr int kCaptionKey = 29000;
    static constexpr int kHelpContext = 3400;
    // Functions a key can take, in list order.
    static const std::vector<int>& offeredFunctions();
    static bool isKeyList(int id) { return id >= 0 && id <= 13 && id != 9 && id != 10; }

    KeyPage(StoredDocument& doc, TextFn text);

    void open();
    void choose(int list, int pos);
    // Re-selects every key list from KeyRecord (RefreshKeyPage).
    void refreshKeys();

    const Choice& list(int id) const { return lists_[id]; }

private:
    int16_t& field(int id);
    void setKeyList(int id);
    void store(int id);

    StoredDocument& doc_;
    TextFn text_;
    std::array<Choice, kListCount> lists_{};
};

// --- Embedded message -------------------------------------------------------

// What box i shows on opening: the line cleaned.
std::string EmbMsgShown(const EmbMsgRecord& r, int line);
// Stores box text into line i: exactly 16 characters, or the text, a NUL
// and blanks.
void EmbMsgStore(EmbMsgRecord& r, int line, const std::string& text);

}  // namespace zr::pages
