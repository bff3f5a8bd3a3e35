// Installing Qt's own Russian translations.
#include "ui/qt_translations.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ravlet {

bool InstallQtRussian(QTranslator& translator) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    if (!translator.load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

}  // namespace ravlet
