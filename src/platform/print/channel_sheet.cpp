#include "platform/print/channel_sheet.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "data/freq_text.h"
#include "pages/opt_features_page.h"
#include "platform/shell/texts.h"
#include "shell/atomic_file.h"
#include "shell/language.h"
#include "shell/session.h"

namespace zr {

namespace {

// English wording of the texts the sheet uses, for a run without a
// language file (the command line tool).
const char* Fallback(int n) {
    switch (n) {
        case 14001: return "Channel";
        case 14002: return "RX frequency (MHz)";
        case 14003: return "TX frequency (MHz)";
        case 14004: return "Name";
        case 14005: return "Decode tone";
        case 14006: return "Encode tone";
        case 14007: return "TX power";
        case 14008: return "Scan";
        case 14009: return "Signalling";
        case 14010: return "Bandwidth";
        case 14013: return "None";
        case 14014: return "Low";
        case 14015: return "Middle";
        case 14016: return "High";
        case 14017: return "Scan";
        case 14018: return "Skip";
        case 14019: return "DTMF";
        case 14020: return "12.5 kHz";
        case 14021: return "20 kHz";
        case 14022: return "25 kHz";
        case 31012: return "Channel sheet";
        case 31013: return "Radio-wide settings";
        case 31016: return "Memory channels in use";
        case 31017: return "Embedded message line %1";
        case 12003: return "FM radio frequencies";
        case 12009: return "File";
        case 13001: return "Model";
        case 13002: return "Band";
        case 16046: return "Off";
        case 16047: return "On";
        case 27009: return "Emergency channel";
        case 28003: return "Priority channel 1";
        case 28004: return "Priority channel 2";
        default: return "";
    }
}

QString T(const Session& s, int n) {
    const std::string t = LanguageText(s, n);
    return t.empty() ? QString::fromLatin1(Fallback(n)) : FromText(t);
}

QString Units(int64_t u) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%05lld", static_cast<long long>(u / kUnitsPerMHz),
                  static_cast<long long>(u % kUnitsPerMHz));
    return QString::fromLatin1(buf);
}

// Entry `value` of a list of texts first..first+count-1; the first entry for
// a value outside the list (as the channel table shows it).
QString ListText(const Session& s, int first, int count, int value) {
    return T(s, first + (value >= 0 && value < count ? value : 0));
}

QString Tone(const Session& s, int v) {
    const std::string name = ToneName(v, ToText(T(s, 14013)));
    return name.empty() ? T(s, 14013) : FromText(name);
}

QString OnOff(const Session& s, bool on) { return T(s, on ? 16047 : 16046); }

}  // namespace

QStringList ChannelSheetHeader(const Session& s) {
    QStringList h;
    for (int n = 14001; n <= 14010; ++n) h << T(s, n);
    return h;
}

std::vector<QStringList> ChannelSheetRows(const Session& s) {
    std::vector<QStringList> rows;
    for (int n = 1; n <= kMaxChannels; ++n) {
        const ChannelRecord* c = FindChannelRecord(s, n);
        if (!c) continue;
        const auto rx = StoredFreqUnits(c->RxFreq.text());
        if (!rx) continue;
        const int64_t off = StoredOffsetUnits(c->Offset.text());
        const int64_t tx = c->OffsetDir == 2 ? *rx + off : c->OffsetDir == 1 ? *rx - off : *rx;
        QStringList r;
        r << (n == kVfoChannel ? QStringLiteral("VFO") : QString::number(n)) << Units(*rx)
          << Units(std::max<int64_t>(tx, 0)) << (n == kVfoChannel ? QString() : FromBytes(c->ChannelName.text()))
          << Tone(s, c->RxTone) << Tone(s, c->TxTone) << ListText(s, 14014, 3, c->TxPower)
          << ListText(s, 14017, 2, c->ScanSkip) << (c->OptSignal == 1 ? T(s, 14019) : T(s, 14013))
          << ListText(s, 14020, 3, c->Bandwidth);
        rows.push_back(r);
    }
    return rows;
}

std::vector<std::pair<QString, QString>> SettingsSummary(const Session& s) {
    std::vector<std::pair<QString, QString>> out;
    const auto& d = s.doc.stored;
    out.emplace_back(T(s, 12009), QFileInfo(FromText(s.doc.fileName)).fileName());
    out.emplace_back(T(s, 13001), FromBytes(ModelDisplayName(s.doc.currentModel)));
    out.emplace_back(T(s, 13002), FromBytes(s.doc.currentBand));
    int used = 0;
    for (int i = 0; i < std::clamp<int>(d.Channels.count, 0, kMaxChannels); ++i)
        if (d.Channels.entries[i].ChannelNumber >= 1 && d.Channels.entries[i].ChannelNumber <= kMemoryChannels) ++used;
    out.emplace_back(T(s, 31016), QString::number(used));

    // The optional features as their page shows them, from a copy (opening
    // the page corrects values that fit no list).
    StoredDocument copy = d;
    pages::OptFeatPage page(copy, [&s](int n) { return LanguageText(s, n); });
    page.open();
    auto add = [&](const pages::OptFeatControl& c) {
        QString label = FromText(LanguageText(s, c.labelKey)).remove('&').trimmed();
        if (label.endsWith(':')) label.chop(1);
        if (label.isEmpty()) label = QStringLiteral("Setting %1").arg(c.labelKey);
        QString value;
        if (c.kind == pages::OptFeatControl::Check) value = OnOff(s, page.check(c.id));
        else if (c.kind == pages::OptFeatControl::PowerOnText) value = FromBytes(d.OptFeat.PowerOnText.text());
        else if (page.hasList(c.id)) value = FromText(page.list(c.id).shown());
        out.emplace_back(label, value);
    };
    if (LanguageText(s, pages::OptFeatPage::kCaptionKey).empty()) {
        // Without the language file the page has neither labels nor list texts.
        out.emplace_back("Optional features", "(language file not found)");
    } else {
        for (const auto& c : pages::OptFeatPage::leftColumn()) add(c);
        for (const auto& c : pages::OptFeatPage::rightColumn()) add(c);
    }

    for (int i = 0; i < 4; ++i)
        out.emplace_back(T(s, 31017).arg(i + 1), FromBytes(d.EmbMsg.Lines[i].text()));
    QStringList fm;
    for (int i = 0; i < kFmChannels; ++i) {
        const auto& f = d.FmChannels[i];
        const std::string t = f.FmFreq.text();
        if (f.IsEmpty || t.size() < 4) continue;
        fm << QStringLiteral("%1: %2.%3").arg(i + 1).arg(QString::fromLatin1(t.substr(0, 4)).toInt()).arg(
                  QString::fromLatin1(t.substr(4, 2)));
    }
    out.emplace_back(T(s, 12003), fm.isEmpty() ? T(s, 14013) : fm.join(", "));
    out.emplace_back(T(s, 28003), QString::number(d.Scan.PriorityCh1));
    out.emplace_back(T(s, 28004), QString::number(d.Scan.PriorityCh2));
    out.emplace_back(T(s, 27009), QString::number(d.Alert.EmgChannel));
    return out;
}

int RenderChannelSheet(const Session& s, QPagedPaintDevice& printer) {
    QPainter p;
    if (!p.begin(&printer)) return 0;
    const QRect area(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.logicalDpiX()).size());
    QFont body(QStringLiteral("DejaVu Sans"), 8);
    QFont bold = body;
    bold.setBold(true);
    QFont title(QStringLiteral("DejaVu Sans"), 13, QFont::Bold);
    const int lineH = QFontMetrics(body, &printer).height() * 14 / 10;
    const int titleH = QFontMetrics(title, &printer).height() * 2;
    const int footH = lineH * 2;

    const QStringList header = ChannelSheetHeader(s);
    const auto rows = ChannelSheetRows(s);
    const auto summary = SettingsSummary(s);
    const int weights[] = {6, 11, 11, 9, 10, 10, 8, 7, 9, 9};
    int totalWeight = 0;
    for (int w : weights) totalWeight += w;

    const int rowsPerPage = std::max(1, (area.height() - titleH - footH - lineH) / lineH);
    const int tablePages = std::max(1, static_cast<int>((rows.size() + rowsPerPage - 1) / rowsPerPage));
    const int linesPerColumn = std::max(1, (area.height() - titleH - footH) / lineH);
    const int summaryPages =
        std::max(1, static_cast<int>((summary.size() + 2 * linesPerColumn - 1) / (2 * linesPerColumn)));
    const int pages = tablePages + summaryPages;
    const QString docName = QFileInfo(FromText(s.doc.fileName)).fileName();
    const QString subtitle = FromBytes(ModelDisplayName(s.doc.currentModel)) + "  " + FromBytes(s.doc.currentBand) +
                             "  " + docName;

    int page = 0;
    auto pageFrame = [&](const QString& heading) {
        if (page > 0) printer.newPage();
        ++page;
        p.setFont(title);
        p.setPen(Qt::black);
        p.drawText(QRect(area.left(), area.top(), area.width(), titleH), Qt::AlignLeft | Qt::AlignVCenter, heading);
        p.setFont(body);
        p.drawText(QRect(area.left(), area.top(), area.width(), titleH), Qt::AlignRight | Qt::AlignVCenter, subtitle);
        p.drawText(QRect(area.left(), area.bottom() - footH, area.width(), footH), Qt::AlignCenter,
                   QStringLiteral("%1 / %2").arg(page).arg(pages));
    };

    for (int tp = 0; tp < tablePages; ++tp) {
        pageFrame(T(s, 31012));
        int y = area.top() + titleH;
        auto drawRow = [&](const QStringList& cells, bool head, bool shade) {
            int x = area.left();
            const QRect full(area.left(), y, area.width(), lineH);
            if (head) p.fillRect(full, QColor(210, 215, 230));
            else if (shade) p.fillRect(full, QColor(242, 242, 242));
            p.setFont(head ? bold : body);
            for (int c = 0; c < cells.size() && c < 10; ++c) {
                const int w = area.width() * weights[c] / totalWeight;
                const QRect cell(x, y, w, lineH);
                p.drawText(cell.adjusted(lineH / 6, 0, -lineH / 6, 0), Qt::AlignCenter | Qt::TextSingleLine,
                           cells[c]);
                p.setPen(QColor(160, 160, 160));
                p.drawRect(cell);
                p.setPen(Qt::black);
                x += w;
            }
            y += lineH;
        };
        drawRow(header, true, false);
        const int first = tp * rowsPerPage;
        const int last = std::min<int>(static_cast<int>(rows.size()), first + rowsPerPage);
        for (int r = first; r < last; ++r) drawRow(rows[static_cast<std::size_t>(r)], false, (r - first) % 2 == 1);
        if (rows.empty()) {
            p.setFont(body);
            p.drawText(QRect(area.left(), y, area.width(), lineH), Qt::AlignCenter, T(s, 14013));
        }
    }

    std::size_t next = 0;
    for (int sp = 0; sp < summaryPages; ++sp) {
        pageFrame(T(s, 31013));
        const int colW = area.width() / 2;
        for (int col = 0; col < 2; ++col) {
            int y = area.top() + titleH;
            for (int l = 0; l < linesPerColumn && next < summary.size(); ++l, ++next) {
                const int x = area.left() + col * colW;
                p.setFont(bold);
                p.drawText(QRect(x, y, colW * 45 / 100, lineH), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                           summary[next].first);
                p.setFont(body);
                p.drawText(QRect(x + colW * 45 / 100, y, colW * 55 / 100 - lineH, lineH),
                           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, summary[next].second);
                y += lineH;
            }
        }
    }
    p.end();
    return pages;
}

void SetUpChannelSheetPage(QPagedPaintDevice& device) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

QString ChannelSheetTitle(const Session& s) { return T(s, 31012); }

bool SaveChannelSheetPdf(const Session& s, const QString& path, QString& error) {
    // The PDF is made in memory and written in one piece, so a full disk or
    // a refused target leaves an existing file as it was.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(1200);
        SetUpChannelSheetPage(writer);
        writer.setTitle(ChannelSheetTitle(s));
        writer.setCreator(QStringLiteral("zrcps"));
        pages = RenderChannelSheet(s, writer);
    }
    if (pages == 0 || pdf.data().isEmpty()) {
        error = QStringLiteral("%1: the channel sheet could not be drawn").arg(path);
        return false;
    }
    const QByteArray& bytes = pdf.data();
    const Result r = WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                         std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!r) {
        error = QString::fromLocal8Bit(r.message().c_str());
        return false;
    }
    return true;
}

}  // namespace zr
