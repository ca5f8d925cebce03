#pragma once

#include <QObject>
#include <QString>

#include "skin/SkinFile.h"

#include <string>

namespace velmora {

// Draws every window of the program, its menus, drop-down lists and Qt's own dialogs in the look of a
// skin file: a Qt style sheet applied to the whole application, so that windows made later take it
// too. Under every skin lies a layout sheet that fits the texts into the windows' fixed rectangles.
class TsuiSkinEngine : public QObject {
    Q_OBJECT

public:
    // programFolder: the second place a skin is looked for (with or without its trailing '/').
    // dataFolders: the colon-separated list searched last; the session's $XDG_DATA_DIRS by default.
    explicit TsuiSkinEngine(std::string programFolder, std::string dataFolders = SessionDataFolders(),
                            QObject* parent = nullptr);
    ~TsuiSkinEngine() override;

    // Looks for the file, loads it and restyles every window. When no file is found nothing changes
    // and nothing is said; a file that is found but cannot be read clears the skin file name and
    // raises the error.
    void SetSkinFile(const std::string& path);
    // The skin file in use, or the empty text.
    const std::string& SkinFile() const { return skinFile_; }

    // The sheet under every skin: group-box titles, paddings and list fonts for the fixed layout.
    static QString LayoutStyleSheet();

private:
    std::string programFolder_;
    std::string dataFolders_;
    std::string skinFile_;
};

} // namespace velmora
