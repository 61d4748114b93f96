#pragma once
// Rules of the optional-features page: which lists it shows, how it loads the
// document's OptFeatRecord (replacing values that fit no list), how each
// control change is stored, and the enable rules of the channel lists.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "data/document.h"
#include "pages/page_lists.h"

namespace zr::pages {

struct OptFeatControl {
    int id;           // control id as used by SaveOptFeat
    int labelKey;     // language text of its label
    enum Kind { List, Check, PowerOnText } kind;
};

class OptFeatPage {
public:
    // Ids of the lists that hold channel numbers.
    static constexpr int kUhfCurrentCh = 17;
    static constexpr int kFmCurrentCh = 18;
    static constexpr int kDirectCh1 = 31;
    static constexpr int kDirectCh2 = 32;
    static constexpr int kWorkMode = 13;
    static constexpr int kRadioWorkMode = 33;
    static constexpr int kChDisplayMode = 3;
    static constexpr int kPowerOnText = 200;
    static constexpr int kCaptionKey = 16000;
    static constexpr int kHelpContext = 3200;

    OptFeatPage(StoredDocument& doc, TextFn text);

    // The visible controls, left column first, then the right column.
    static const std::vector<OptFeatControl>& leftColumn();
    static const std::vector<OptFeatControl>& rightColumn();

    // Builds the lists, loads the record and applies the enable rules.
    void open();

    // A choice of the user in list id.
    void choose(int id, int pos);
    // The user toggled check box id.
    void setCheck(int id, bool on);
    // Power-on box n (0..11) now holds text.
    void setPowerOnBox(int n, const std::string& text);

    // Stores the value of control id into its field; ids without a field
    // change nothing.
    void SaveOptFeat(int id);

    // The set of memory or FM channels changed while the page is open.
    void ReshowByCh();

    const Choice& list(int id) const;
    bool hasList(int id) const { return lists_.count(id) != 0; }
    bool check(int id) const;
    const std::array<std::string, 12>& powerOnBoxes() const { return boxes_; }

private:
    Choice& mlist(int id);
    void buildLists();
    void selectChannel(int id);
    void applyMemoryEnable();
    void applyFmEnable(bool reshow);

    StoredDocument& doc_;
    TextFn text_;
    std::map<int, Choice> lists_;
    std::map<int, bool> checks_;
    std::array<std::string, 12> boxes_{};
    std::vector<std::string> voiceFull_;  // the three-entry voice prompt list
    bool loading_ = false;
};

}  // namespace zr::pages
