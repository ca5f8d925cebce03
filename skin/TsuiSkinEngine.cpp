#include "skin/TsuiSkinEngine.h"

#include <QApplication>
#include <QCoreApplication>

#include <utility>

// Resources of a static library are registered by hand, outside any namespace.
static void RegisterSkinImages() {
    Q_INIT_RESOURCE(SkinImages);
}

namespace velmora {

namespace {
void SetApplicationStyleSheet(const QString& sheet) {
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        application->setStyleSheet(sheet);
}
} // namespace

TsuiSkinEngine::TsuiSkinEngine(std::string programFolder, std::string dataFolders, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)), dataFolders_(std::move(dataFolders)) {
    setObjectName(QStringLiteral("suiSkinEngine"));
    RegisterSkinImages();
    SetApplicationStyleSheet(LayoutStyleSheet());
}

TsuiSkinEngine::~TsuiSkinEngine() {
    SetApplicationStyleSheet(QString());
}

void TsuiSkinEngine::SetSkinFile(const std::string& path) {
    const std::string found = FindSkinFile(path, programFolder_, dataFolders_);
    if (found.empty())
        return;
    std::string sheet;
    try {
        sheet = ReadSkinFile(found);
    } catch (...) {
        // With its name the skin goes: the windows return to the look without one.
        skinFile_.clear();
        SetApplicationStyleSheet(LayoutStyleSheet());
        throw;
    }
    skinFile_ = found;
    SetApplicationStyleSheet(LayoutStyleSheet() + QString::fromUtf8(sheet));
}

} // namespace velmora
