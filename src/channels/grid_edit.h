#pragma once
// The editing state of the channel table: which cell's editor is open, the
// rules that send the user to the RX (or TX) column of a row that has no
// frequency yet, and the keyboard walk through the table. No widgets here;
// the table window asks these rules what to do and carries it out.

#include <string>
#include <string_view>
#include <vector>

#include "channels/channel_ops.h"

namespace zr {

struct Session;
struct RadioDocument;

inline constexpr int kGridRows = 130;      // header row + 129 channel rows
inline constexpr int kGridCols = 11;
inline constexpr int kGridLastDataCol = 9; // columns 1..9 show channel data
inline constexpr int kGridEditCol = 10;    // ">>" opens the channel edit window

enum class GridEditor { None, RxChooser, TxChooser, NameBox, ToneChooser, ScanChooser, SignalChooser };

// The editor that opens over a cell of column col.
GridEditor EditorForColumn(int col);

// Help context of the editor of column col (0: none).
int EditorHelpContext(int col);

// The frequencies the RX and TX choosers of the table and the edit window
// offer after "NONE", for the document's band: with "446 - 447 MHz" the 16
// PMR446 channels 446.00625 .. 446.19375 (12.5 kHz apart); otherwise those
// of the 30 frequencies 462.55 .. 462.725 and 467.55 .. 467.725 MHz that lie
// in the band, possibly none.
std::vector<std::string> ChooserFrequencies(const RadioDocument& doc);

// What a text chosen from, or typed into, an RX or TX chooser wrote.
enum class ChooserWrite {
    Nothing,    // nothing to write ("NONE" in the TX chooser, an empty text)
    Refused,    // not a frequency: nothing written (the program tells text 9083)
    Written,    // passed to SetChannelItem (band clamp and raster apply)
};
struct ChooserOutcome {
    ChooserWrite write = ChooserWrite::Nothing;
    ChannelNotes notes;   // what SetChannelItem corrected
};
// RX: "NONE" clears the channel (item 1 with an empty text); a frequency in
// MHz ("446.00625", "145.5") is written through item 1.
ChooserOutcome WriteChooserRx(Session& s, int channel, std::string_view text);
// TX: a frequency is the TX frequency; a number with a leading "+" or "-" is
// an offset from the RX. Either is written through item 2 in the form the
// UseOffset habit gives that item (the TX frequency, or the signed offset).
ChooserOutcome WriteChooserTx(Session& s, int channel, std::string_view text);

struct GridCell {
    int row = 1;
    int col = 1;
    bool operator==(const GridCell&) const = default;
};

// What a cell entry asks of the window.
enum class EntryAction {
    Ignore,       // editing not enabled, or an entry swallowed by GridNextCol
    Redirect,     // move the current cell to `target` (its entry opens the editor)
    Open,         // hide every editor, then EnterGridEdit for the current cell
};

struct EntryDecision {
    EntryAction action = EntryAction::Ignore;
    GridCell target;        // for Redirect
    bool showCaption = false;
};

class GridEditState {
public:
    GridCell editCell{1, 1};
    bool skipChecks = false;
    bool skipEntry = false;
    bool selectionArmed = true;
    bool editingEnabled = false;

    // A cell entry at `current`; rxEmpty / txEmpty tell whether columns 1 and
    // 2 of that row are empty in the table.
    EntryDecision enterCell(GridCell current, bool rxEmpty, bool txEmpty);

    // EnterGridEdit: the edit cell becomes the current cell; a chooser being
    // opened disarms the selection.
    GridEditor openEditor(GridCell current);

    // A selection event in a chooser: true when the value is to be written.
    // The first event after opening (the program selecting the initial entry)
    // only arms the chooser.
    bool chooserSelected();

    // GridNextLine: row + 1, after the VFO row back to row 1.
    static int nextLine(int row);

    // GridNextCol: the next column, or column 1 of the next row. When it
    // wraps, `intermediate` is the cell the column change reaches first (its
    // entry is swallowed) and the skip-entry flag is set.
    struct NextColMove {
        bool wraps = false;
        GridCell intermediate;
        GridCell target;
    };
    NextColMove nextCol(GridCell current);
};

// Keyboard filter of the table's name box: returns the character to insert
// (capitals for small letters), 0 when the key is swallowed; control keys
// other than Ctrl+C/V/X pass unchanged.
int FilterGridNameChar(int code);

// Filter of the edit window's name boxes: "0".."9" and "A".."Z" only.
int FilterEditNameChar(int code);

// Digits only (ID code box, numeric batch fields).
int FilterDigitChar(int code);

// Digits and "." (frequency and step fields of the batch window).
int FilterDecimalChar(int code);

// Letters and digits (name text of the batch window).
int FilterAlnumChar(int code);

// Number texts as the choosers show them: "000.00000" (RX) and "#0.00000"
// (TX). A text that is not a number comes back unchanged.
std::string FormatChooserRx(std::string_view text);
std::string FormatChooserTx(std::string_view text);

// A decimal number with optional sign and blanks around it.
bool IsNumberText(std::string_view text);
bool ParseNumberText(std::string_view text, double& value);

}  // namespace zr
