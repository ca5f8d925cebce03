#pragma once

#include "app/UnitMain.h"
#include "app/Unit_common.h"
#include "dialogs/TrackSettingsDialog.h"
#include "dialogs/UnitCloseWindows.h"
#include "dialogs/UnitRunReport.h"
#include "dialogs/UnitSetting.h"
#include "joblist/Unit_batch.h"
#include "joblist/Unit_common_directory.h"

#include <string>

namespace velmora {

// Every window of the program, created once in the start-up order and alive until the program ends:
// the shared services first, then the main window, then the dialogs, hidden.
class ProgramWindows {
public:
    // programFolder, shell and powerSwitch as for TfrmCommon.
    explicit ProgramWindows(const std::string& programFolder = std::string(), DesktopShell* shell = nullptr,
                            PowerSwitch* powerSwitch = nullptr);

    TfrmCommon frmCommon;
    TfrmMain frmMain;
    TfrmPowerOffWindows frmPowerOffWindows;
    TfrmSetting frmSetting;
    TFrmBatchAdd FrmBatchAdd;
    TFrmDirectory FrmDirectory;
    TfrmRunReport frmRunReport;
    TrackSettingsDialog frmTracks;
};

} // namespace velmora
