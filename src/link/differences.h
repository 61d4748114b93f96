#pragma once
// What differs between two radio documents, or between a document and the
// radio's memory, in words for the user: one line per changed item, grouped
// by channel and by settings page, the first side's value before the arrow:
//
//     CH 12 RX 462.56250 -> 462.57500
//     CH 3 empty -> RX 446.00625 "BASE"
//     Scan: priority channel 1 3 -> 5
//     FM preset 4 88.10000 -> empty
//
// Numbers are always written with "." whatever the locale.
//
//   CompareDocuments(a, b)  every member a document file stores that means
//       something; items the radio does not keep end in "(document only)".
//   CompareImages(a, b)     what the radio keeps: both memory images decoded
//       and their items compared, then every byte that differs although no
//       item shows it (unused areas, bits the program does not read) is
//       reported by the write check's address map. The firmware version and
//       flags bytes (5112..5119), the radio's own and never changed by a
//       write, are left out.
//   DocumentImage(d)        the memory image a write of d sends; so
//       CompareImages(radio, DocumentImage(doc)) is what that write changes.

#include <optional>
#include <string>
#include <vector>

#include "data/document.h"
#include "shell/result.h"

namespace zr::link {

struct Difference {
    std::string group;   // "CH 12", "VFO", "Scan", "FM radio frequencies", ...
    int channel = 0;     // 1..128, 129 for the VFO; 0 for a settings line
    std::string text;    // the whole line
};

std::vector<Difference> CompareDocuments(const StoredDocument& a, const StoredDocument& b);
std::vector<Difference> CompareImages(const RadioImage& a, const RadioImage& b);

RadioImage DocumentImage(const StoredDocument& d);

// One side of a comparison read from a file: a document file, or a memory
// image (a file of exactly 5120 bytes, as `zrcps-cli encode` writes it).
struct CompareSide {
    bool isImage = false;
    StoredDocument doc;     // a document file
    RadioImage image{};     // a memory image
};

// Reads `side` from a file. Fails with a reason ("doc.dat: shorter than a
// document file") when the file cannot be read, or is neither an image nor
// a document whose version text is valid; `side` is left as it was then.
Result LoadCompareSide(const std::string& path, CompareSide& side);

// Two documents: CompareDocuments; as soon as one side is an image, both
// are compared as images (a document as the image a write of it sends).
std::vector<Difference> CompareSides(const CompareSide& a, const CompareSide& b);

// The lines, each ended by "\n"; empty for none.
std::string DifferencesText(const std::vector<Difference>& differences);

}  // namespace zr::link
