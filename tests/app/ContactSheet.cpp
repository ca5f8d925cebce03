// Pictures of the windows in every skin, for looking at and for the help pages; not a test.
// Usage: velmora_contact_sheet <program folder> <picture folder> <language number> [last skin]
// Run it on a display (xvfb-run) to see what users see.
#include "app/ProgramWindows.h"
#include "app/SkinChoice.h"
#include "joblist/JobList.h"
#include "tests/support/ManualTickTimer.h"
#include "tests/support/RecordingPowerSwitch.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

void Settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

void Save(const QPixmap& picture, const std::string& path) {
    if (!picture.save(QString::fromStdString(path)))
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s <program folder> <picture folder> <language number> [last skin]\n",
                     argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    const std::string programFolder = argv[1], pictures = std::string(argv[2]) + "/", language = argv[3];
    const int32_t lastSkin = argc == 5 ? std::stoi(argv[4]) : velmora::kSkinCount;
    for (int32_t skin = 0; skin <= lastSkin; ++skin) {
        // A program folder of its own, so that the shipped one keeps its config.ini.
        velmora::test::TemporaryFolder folder;
        symlink((programFolder + "/language").c_str(), (folder / "language").c_str());
        if (skin != 0)
            symlink((programFolder + "/skins").c_str(), (folder / "skins").c_str());
        velmora::test::WriteTextFile(folder / "config.ini",
                                     "[common]\nlanguage=" + language +
                                         "\n[skin]\nskin=" + std::to_string(skin) +
                                         "\n[setting]\noutputFolder=" + "/media/PSP/MP_ROOT/100MNV01/\n");
        // The countdown's clock never ticks and no request leaves this program.
        velmora::test::RecordingPowerSwitch powerSwitch;
        velmora::ProgramWindows windows(folder.Path(), nullptr, &powerSwitch);
        velmora::test::ManualTickTimer& clock = velmora::test::InstallManualTimer(windows.frmPowerOffWindows);
        windows.frmMain.move(40, 30);
        windows.frmMain.show();
        // Rows as a run with a failed file leaves them.
        velmora::TfrmMain& main = windows.frmMain;
        for (const char* path : {"/videos/holiday.avi", "/videos/damaged clip.wmv", "/videos/lecture.mkv"})
            main.AddFile(path);
        main.Jobs().ShowOutcome(0, QStringLiteral("M4V50000"), main.msgOutcomeConverted.arg("M4V50000"),
                                velmora::RowOutcome::Done);
        const QString failed = main.msgOutcomeFailed.arg("Invalid data found when processing input");
        main.Jobs().ShowOutcome(1, main.StringOutcomeFailed, failed, velmora::RowOutcome::Problem);
        main.Jobs().ShowOutcome(2, QStringLiteral("M4V50001"), main.msgOutcomeConverted.arg("M4V50001"),
                                velmora::RowOutcome::Done);
        Settle();
        const std::string name = language + "-" + std::to_string(skin);
        Save(windows.frmMain.grab(), pictures + "main-" + name + ".png");
        windows.frmSetting.show();
        Settle();
        Save(windows.frmSetting.grab(), pictures + "settings-" + name + ".png");
        windows.frmSetting.hide();
        windows.frmTracks.show();
        Settle();
        Save(windows.frmTracks.grab(), pictures + "tracks-" + name + ".png");
        windows.frmTracks.hide();
        windows.FrmBatchAdd.show();
        Settle();
        Save(windows.FrmBatchAdd.grab(), pictures + "batchadd-" + name + ".png");
        windows.FrmBatchAdd.hide();
        windows.frmRunReport.SetReport(main.msgRunSummary.arg("2", "3"),
                                       {QStringLiteral("/videos/damaged clip.wmv\n    ") + failed}, true);
        windows.frmRunReport.show();
        Settle();
        Save(windows.frmRunReport.grab(), pictures + "report-" + name + ".png");
        windows.frmRunReport.hide();
        QTimer::singleShot(0, [&] {
            clock.Tick();
            Settle();
            Save(windows.frmPowerOffWindows.grab(), pictures + "countdown-" + name + ".png");
            windows.frmPowerOffWindows.buttonNoClick();
        });
        windows.frmPowerOffWindows.ShowCountdown({2, 3, 1, false, [] {}, [] {}, [] {}});
        // The skin menu open over the window, as the screen shows it.
        QMenuBar* bar = windows.frmMain.MainMenu;
        const QRect entry = bar->actionGeometry(windows.frmMain.N_Skin->menuAction());
        windows.frmMain.N_Skin->popup(bar->mapToGlobal(entry.bottomLeft()));
        Settle();
        const QRect frame = windows.frmMain.frameGeometry().united(windows.frmMain.N_Skin->geometry());
        Save(QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(),
                                                          frame.height()),
             pictures + "menu-" + name + ".png");
        windows.frmMain.N_Skin->hide();
        windows.frmMain.close();
    }
    return 0;
}
