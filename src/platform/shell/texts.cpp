#include "platform/shell/texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "shell/language.h"
#include "shell/languages.h"
#include "shell/session.h"

namespace zr {

QString Tx(const Session& s, int number) { return FromText(LanguageText(s, number)); }

void UseQtTranslations(const Session& s) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const auto languages = InstalledLanguages(s.paths.programFolder);
    const LanguageEntry* e = FindLanguage(languages, s.settings.languageFile);
    if (!e || e->locale.empty() || e->locale == "en") return;
    auto* t = new QTranslator;
    if (t->load(QLocale(FromText(e->locale)), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t);
        installed = t;
    } else {
        delete t;
    }
}

}  // namespace zr
