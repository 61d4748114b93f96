#pragma once
// Texts for the windows. Two kinds of text meet there:
//   - program texts: language texts, messages, file names and the like, kept
//     as UTF-8 (FromText, ToText; Tx looks a language text up);
//   - radio texts: the bytes of the document's fixed-length fields (channel
//     names, messages, dealer entries) in the radio's single-byte code page,
//     shown as Latin-1 so that every byte survives a round trip
//     (FromBytes, ToBytes).

#include <string>

#include <QString>

namespace zr {

struct Session;

QString Tx(const Session& s, int number);
// Qt's own texts (its standard dialogs, the context menus of text boxes) in
// the run's language when Qt's translations are installed, else English.
void UseQtTranslations(const Session& s);
inline QString FromText(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string ToText(const QString& s) { return s.toUtf8().toStdString(); }
inline QString FromBytes(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }
inline std::string ToBytes(const QString& s) { return s.toLatin1().toStdString(); }

}  // namespace zr
