#pragma once
// How the page windows reach each other and the rest of the program: the key
// page refresh after a scan mode change, the channel re-check after an FM
// change, and the follow-ups of the DTMF page. The optional-features page
// registers itself in the session's window state while it exists.

namespace zr {

class AppServices;
struct Session;

// The open programmable-key page re-selects its key lists; nothing when it
// is closed.
void RefreshKeyPage(AppServices& app);

// The set of memory or FM channels changed: the open optional-features page
// runs ReshowByCh, otherwise the stored references are corrected.
void RevalidateChannelRefsFromPages(Session& s);

// DtmfSignalling was stored: the channel ID code lengths follow it.
void AlignIdCodesFromPages(AppServices& app);

// A numbered DTMF code changed: the open channel edit window rebuilds its
// auto-dial memory list.
void GroupCodesChangedFromPages(AppServices& app);

}  // namespace zr
