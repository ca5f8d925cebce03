// The end of a run with the power-off on: the countdown tells how the run went, and a report the
// power-off keeps from being read waits for the next start.
#include "app/UnitMain.h"
#include "app/UnitMainRunView.h"

#include "app/Unit_common.h"
#include "dialogs/UnitCloseWindows.h"
#include "engine/RunReportFile.h"
#include "platform/FileSystem.h"

#include <unistd.h>

namespace velmora {

std::string TfrmMain::KeptRunReportPath() const {
    const std::string& config = common_.configFile;
    return config.substr(0, config.rfind('/') + 1) + "report-kept-at-power-off.txt";
}

void TfrmMain::RunView::ShowPowerOffCountdown(const RunReport& report) {
    TfrmPowerOffWindows* dialog = window_.dialogs_.frmPowerOffWindows;
    if (dialog == nullptr)
        return;
    CountdownRun run;
    run.converted = report.Converted();
    run.queued = report.queued;
    run.failed = report.Failed();
    run.allConverted = run.converted == run.queued;
    if (report.HasProblems()) {
        const std::string path = window_.KeptRunReportPath();
        run.showReport = [this, report] { ShowReportWindow(report, SummaryOf(report), false); };
        // A report that cannot be kept must not hold the power-off up with a message nobody answers.
        run.keepReport = [path, report] { static_cast<void>(WriteRunReportFile(path, report)); };
        run.dropReport = [path] { unlink(path.c_str()); };
    }
    dialog->ShowCountdown(std::move(run));
}

void TfrmMain::ShowReportKeptAtPowerOff() {
    const std::string path = KeptRunReportPath();
    if (!FileExists(path))
        return;
    // A damaged file is let go unseen rather than offered at every start.
    if (const std::optional<RunReport> report = ReadRunReportFile(path))
        runView_->ShowReportWindow(
            *report, msgReportBeforePowerOff + QLatin1Char('\n') + runView_->SummaryOf(*report), false);
    unlink(path.c_str());
}

} // namespace velmora
