#pragma once
// Language texts for the windows: the text of a number, as a QString. Texts
// are bytes of the single-byte code page and are shown as Latin-1.

#include <string>

#include <QString>

namespace zr {

struct Session;

QString Tx(const Session& s, int number);
// Latin-1 conversions between document/language bytes and window texts.
inline QString FromBytes(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }
inline std::string ToBytes(const QString& s) { return s.toLatin1().toStdString(); }

}  // namespace zr
