#include "platform/qt/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace velmora {

QtTranslation::~QtTranslation() {
    if (installed_)
        QCoreApplication::removeTranslator(&translator_);
}

void QtTranslation::Use(const QString& locale) {
    if (installed_)
        QCoreApplication::removeTranslator(&translator_);
    installed_ = translator_.load(QStringLiteral("qtbase_") + locale,
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                 QCoreApplication::installTranslator(&translator_);
}

} // namespace velmora
