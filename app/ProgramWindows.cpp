#include "app/ProgramWindows.h"

#include <QApplication>

namespace velmora {

ProgramWindows::ProgramWindows(const std::string& programFolder, DesktopShell* shell,
                               PowerSwitch* powerSwitch)
    : frmCommon(programFolder, shell, powerSwitch), frmMain(frmCommon),
      frmPowerOffWindows(&frmMain, frmCommon), frmSetting(&frmMain, frmCommon), FrmBatchAdd(&frmMain),
      FrmDirectory(&frmMain), frmRunReport(&frmMain), frmTracks(&frmMain, frmCommon.Config()) {
    frmMain.AttachDialogs(
        {&frmPowerOffWindows, &frmSetting, &FrmBatchAdd, &FrmDirectory, &frmRunReport, &frmTracks});
    // The windows are laid out in pixels for a small dialog font.
    QFont base = QApplication::font();
    base.setPointSize(8);
    for (QWidget* window :
         std::initializer_list<QWidget*>{&frmMain, &frmPowerOffWindows, &frmSetting, &FrmBatchAdd,
                                         &FrmDirectory, &frmRunReport, &frmTracks})
        window->setFont(base);
}

} // namespace velmora
