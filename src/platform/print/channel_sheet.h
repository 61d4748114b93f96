#pragma once
// The printable channel sheet: the channel table of the document (number,
// RX, TX, name, tones, power, scan, signalling, bandwidth) on as many pages
// as it needs, then one page with a summary of the radio-wide settings.
// Printed through a print preview, or saved as PDF without any window (the
// command line uses that).

#include <QString>
#include <QStringList>
#include <vector>

class QPrinter;
class QWidget;

namespace zr {

struct Session;

// Column headers and one row per channel in use (memory channels in
// ascending order, then the VFO), with the texts the channel table shows.
QStringList ChannelSheetHeader(const Session& s);
std::vector<QStringList> ChannelSheetRows(const Session& s);

// Label/value lines of the settings summary page.
std::vector<std::pair<QString, QString>> SettingsSummary(const Session& s);

// Paints every page onto the printer. Returns the number of pages.
int RenderChannelSheet(const Session& s, QPrinter& printer);

// Writes the sheet as a PDF file. false with a reason on failure.
bool SaveChannelSheetPdf(const Session& s, const QString& path, QString& error);

// The print preview dialog (print or save as PDF from there).
void ShowChannelSheetPreview(const Session& s, QWidget* parent);

}  // namespace zr
