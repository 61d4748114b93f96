#pragma once
// What the rules changed in a document since its changes were last taken.
//
// A rule that changes the document notes here what it changed (channel n,
// many channels at once, a settings record, the whole document) and goes
// on; it never calls anyone. Whoever ran the rule takes the notes afterwards
// (the document controller publishes them to its listeners after every
// command). Notes of rules run without a controller are simply kept until
// the next take(); they are flags, so they never grow.

#include <bitset>
#include <cstddef>

namespace zr {

// The settings records of a document, as changes name them.
enum class SettingsRecord {
    OptFeat,      // optional features (also: the channels its lists offer)
    Dtmf,
    Scan,
    Alert,
    Keys,
    EmbMsg,
    FmChannels,
    TestFreqs,
    RadioInfo,    // the dealer information read from a radio
    TestData,     // factory test data
};
inline constexpr std::size_t kSettingsRecords = 10;

class DocumentChanges {
public:
    // Channel n (1..129) was created, changed or removed.
    void channel(int n) {
        if (n >= 0 && n < static_cast<int>(kSlots)) channels_.set(static_cast<std::size_t>(n));
    }
    // Many channels changed at once (renumbered, imported, aligned).
    void allChannels() { allChannels_ = true; }
    void settings(SettingsRecord r) { settings_.set(static_cast<std::size_t>(r)); }
    // The document as a whole was replaced (new, opened, read).
    void replaced() { replaced_ = true; }

    bool empty() const { return !replaced_ && !allChannels_ && channels_.none() && settings_.none(); }
    bool isReplaced() const { return replaced_; }
    bool hasAllChannels() const { return allChannels_; }
    bool hasChannel(int n) const {
        return n >= 0 && n < static_cast<int>(kSlots) && channels_.test(static_cast<std::size_t>(n));
    }
    bool hasSettings(SettingsRecord r) const { return settings_.test(static_cast<std::size_t>(r)); }

    // The notes so far; the journal is empty afterwards.
    DocumentChanges take() {
        DocumentChanges out = *this;
        *this = DocumentChanges{};
        return out;
    }

    static constexpr std::size_t kSlots = 130;   // channel numbers 0..129

private:
    std::bitset<kSlots> channels_;
    std::bitset<kSettingsRecords> settings_;
    bool allChannels_ = false;
    bool replaced_ = false;
};

}  // namespace zr
