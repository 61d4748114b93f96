#include "platform/shell/qt_prompter.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/shell/dialogs.h"
#include "platform/shell/texts.h"
#include "shell/session.h"

namespace zr {

QString QtFileFilter(const std::string& filter) {
    const QString f = FromText(filter);
    const QStringList parts = f.split('|');
    QStringList out;
    // Pairs of "label|pattern"; a label that already names its pattern is kept.
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString label = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        out << (label.contains('(') ? label : label + " (" + pattern + ")");
    }
    if (out.isEmpty() && !f.isEmpty()) out << f;
    return out.join(";;");
}

Answer QtPrompter::ask(const Question& q) {
    QMessageBox box(owner_);
    QString caption = FromText(q.caption.empty() ? s_.settings.programTitle : q.caption);
    box.setWindowTitle(caption);
    box.setText(FromText(q.text));
    switch (q.icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton def = QMessageBox::Ok;
    switch (q.buttons) {
    case Buttons::Ok: buttons = QMessageBox::Ok; break;
    case Buttons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; def = QMessageBox::Yes; break;
    case Buttons::YesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        def = QMessageBox::Yes;
        break;
    case Buttons::RetryCancel:
        buttons = QMessageBox::Retry | QMessageBox::Cancel;
        def = QMessageBox::Retry;
        break;
    }
    box.setStandardButtons(buttons);
    box.setDefaultButton(def);
    // The buttons speak the run's language.
    const struct { QMessageBox::StandardButton button; int text; } captions[] = {
        {QMessageBox::Ok, 9017}, {QMessageBox::Cancel, 9018}, {QMessageBox::Yes, 9090},
        {QMessageBox::No, 9091}, {QMessageBox::Retry, 9092}};
    for (const auto& c : captions)
        if (QAbstractButton* b = box.button(c.button)) b->setText(Tx(s_, c.text));
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    default: break;
    }
    // Escape or the window's close box: the safe answer of each button set.
    switch (q.buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::optional<std::string> QtPrompter::chooseFile(const FileDialogRequest& r) {
    const QString caption = FromText(r.caption.empty() ? s_.settings.programTitle : r.caption);
    const QString filter = QtFileFilter(r.filter);
    const QString start = QString::fromStdString(r.initialPath);
    QString path;
    if (r.save) {
        QFileDialog dlg(owner_, caption, start, filter);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix("dat");
        // The overwrite question belongs to the file commands.
        dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        path = dlg.selectedFiles().first();
    } else {
        path = QFileDialog::getOpenFileName(owner_, caption, start, filter);
    }
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> QtPrompter::askPassword() {
    FrmPassWord dlg(s_, owner_);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.password();
}

}  // namespace zr
