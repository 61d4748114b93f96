#pragma once
// Rules of the FM broadcast page, the dealer information window and the
// factory test data dialog.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "data/document.h"

namespace zr::pages {

// --- FM broadcast channels --------------------------------------------------

// Displayed form of a stored FM frequency ("09050000" -> "90.50000"); empty
// for an empty, erased or non-numeric text.
std::string FmShownText(const FixedText<8>& stored);

class FmPage {
public:
    static constexpr int kCaptionKey = 17000;
    static constexpr int kRows = 20;

    // revalidate: re-checks the channel references after a commit.
    FmPage(StoredDocument& doc, std::function<void()> revalidate = {});

    // What column 1 of row 1..20 shows.
    std::string cellText(int row) const;
    // Commits a typed text into row 1..20.
    void commit(int row, const std::string& typed);
    // The row Enter moves to.
    static int nextRow(int row) { return row >= kRows ? 1 : row + 1; }

private:
    StoredDocument& doc_;
    std::function<void()> revalidate_;
};

// --- Dealer information -----------------------------------------------------

struct RadioInfoField {
    int labelKey;
    std::string text;
    int maxLength;   // input limit of its box; 0 for the two lists
    bool multiLine = false;
};

struct RadioInfoView {
    // SalesArea, BatchNo, CustomerCode, (model), (band), SerialNo, FactoryDate,
    // RepairDate, VersionInfo, RepairReason, then the dealer frame: DealerCode,
    // StockInTime, SaleTime, Handler.
    std::vector<RadioInfoField> fields;
    std::vector<std::string> models;  // the one model entry
    std::vector<std::string> bands;   // "400 - 470 MHz", "GMRS"
    int bandIndex = -1;               // -1: no entry shown
};

inline constexpr int kRadioInfoModelField = 3;
inline constexpr int kRadioInfoBandField = 4;
inline constexpr int kRadioInfoDealerFirst = 10;  // first field of the dealer frame

RadioInfoView ShowByData(const RadioInfoRecord& info);

// --- Factory test data dialog ----------------------------------------------

class TestDataDialogModel {
public:
    static constexpr int kBoxes = 11;
    static const std::array<const char*, kBoxes>& labels();

    explicit TestDataDialogModel(const FactoryTestData& working);

    // The text a box shows after a change: "0" for a non-number, else the
    // value rounded (halves to even) and clamped to 0..255.
    static std::string NormaliseBox(const std::string& text);
    // The save dialog's proposal: the document path with its last three
    // characters replaced by "ted".
    static std::string ProposedSavePath(const std::string& documentPath);

    // Box i changed to text; returns what it shows now.
    const std::string& setBox(int i, const std::string& text);
    const std::string& box(int i) const { return boxes_[i]; }
    const FactoryTestData& local() const { return local_; }

    // Load: the file's bytes into the local copy, the boxes shown again.
    void load(const std::string& path);
    // Save: boxes into the local copy, the local copy into the file.
    bool save(const std::string& path);
    // OK: boxes into the local copy, the local copy into the working copy.
    void accept(FactoryTestData& working);

private:
    void boxesToLocal();
    void localToBoxes();

    FactoryTestData local_;
    std::array<std::string, kBoxes> boxes_{};
};

}  // namespace zr::pages
