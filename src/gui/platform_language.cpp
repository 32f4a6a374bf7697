#include "gui/platform_language.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dalvex {

bool InstallPlatformTranslations() {
    // One translator for the program's lifetime, owned by the application.
    auto* texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    return QCoreApplication::installTranslator(texts);
}

}  // namespace dalvex
