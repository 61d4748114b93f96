#pragma once
// Whether the document holds changes since the last new, open or save: the
// document is compared member by member with its saved copy. Channels match
// by channel number, so the same channels in another list order still count
// as unchanged; `IsEmpty`, `Spare`, `IdCodeLength` and `ChLock` are not
// compared.

#include "data/document.h"

namespace zr {

struct Session;

// The comparison itself. The factory test data take part only when
// `factoryTestMode` is set.
bool IsUnchanged(const RadioDocument& doc, bool factoryTestMode);
bool IsUnchanged(const Session& s);

// The negation: true when there is something to save.
bool IsModified(const Session& s);

}  // namespace zr
