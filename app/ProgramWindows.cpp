#include "app/ProgramWindows.h"

#include "skin/LayoutScale.h"

#include <QApplication>

namespace velmora {

ProgramWindows::ProgramWindows(const std::string& programFolder, DesktopShell* shell,
                               PowerSwitch* powerSwitch)
    : frmCommon(programFolder, shell, powerSwitch), frmMain(frmCommon),
      frmPowerOffWindows(&frmMain, frmCommon), frmSetting(&frmMain, frmCommon), FrmBatchAdd(&frmMain),
      FrmDirectory(&frmMain), frmRunReport(&frmMain), frmTracks(&frmMain, frmCommon.Config()) {
    frmMain.AttachDialogs(
        {&frmPowerOffWindows, &frmSetting, &FrmBatchAdd, &FrmDirectory, &frmRunReport, &frmTracks});
    // The windows are laid out in pixels for a dialog font a little smaller than the desktop's.
    QFont base = QApplication::font();
    if (base.pointSizeF() > 0)
        base.setPointSizeF(base.pointSizeF() * 8 / 9);
    const double scale = ApplicationLayoutScale();
    for (QWidget* window :
         std::initializer_list<QWidget*>{&frmMain, &frmPowerOffWindows, &frmSetting, &FrmBatchAdd,
                                         &FrmDirectory, &frmRunReport, &frmTracks}) {
        window->setFont(base);
        // The main window grows its own controls.
        if (window != &frmMain)
            ScaleDesignedGeometry(window, scale);
    }
}

} // namespace velmora
