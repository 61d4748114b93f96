#pragma once
// The printable channel sheet: the channel table of the document (number,
// RX, TX, name, tones, power, scan, signalling, bandwidth) on as many pages
// as it needs, then one page with a summary of the radio-wide settings.
// Drawn on any paged device (a printer, a PDF writer) with Qt Gui only; the
// print preview of the windows is in channel_sheet_preview.h.

#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;

namespace zr {

struct Session;

// Column headers and one row per channel in use (memory channels in
// ascending order, then the VFO), with the texts the channel table shows.
QStringList ChannelSheetHeader(const Session& s);
std::vector<QStringList> ChannelSheetRows(const Session& s);

// Label/value lines of the settings summary page.
std::vector<std::pair<QString, QString>> SettingsSummary(const Session& s);

// Paints every page onto the device. Returns the number of pages, 0 when
// the device cannot be painted on.
int RenderChannelSheet(const Session& s, QPagedPaintDevice& device);
// A4 landscape with 12 mm margins, and the sheet's title.
void SetUpChannelSheetPage(QPagedPaintDevice& device);
QString ChannelSheetTitle(const Session& s);

// Writes the sheet as a PDF file, replacing it safely (shell/atomic_file.h).
// false with a reason on failure.
bool SaveChannelSheetPdf(const Session& s, const QString& path, QString& error);

}  // namespace zr
