#pragma once
// The defaults of a new document (everything but the init template, which
// files/new_document.h adds on top).
//
// NewDocumentDefaults runs, in order: file name "new.dat" and never-saved;
// settings defaults; the new-document channels (NewDocumentChannels); empty
// FM presets; test frequencies; RefreshModelBand; the radio information
// defaults; the saved copy made from the document.
//
// Dates of the radio information are written as "YYYY-MM-DD" (blank-padded
// to 16 characters); the batch number is the month as two digits followed
// by "-1-E-1".

#include <string>

namespace zr {

struct Session;
struct RadioInfoRecord;

struct CivilDate {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
};

// Today's local date.
CivilDate Today();
// "YYYY-MM-DD".
std::string DateText(const CivilDate& d);

// Steps 1..8 of a new document. today defaults to Today().
void NewDocumentDefaults(Session& s);
void NewDocumentDefaults(Session& s, const CivilDate& today);

// The channels of a new document: an empty list, then the VFO and channel 1
// at the middle of the band; the channel table's current row becomes 1 and
// its editing and open flags are cleared.
void NewDocumentChannels(Session& s);

// The radio information defaults of a new document.
void ResetRadioInfo(Session& s, const CivilDate& today);

}  // namespace zr
