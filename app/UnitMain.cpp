#include "app/UnitMain.h"

#include "app/KeptQueueStore.h"
#include "app/LanguageChoice.h"
#include "app/UnitMainRunView.h"
#include "app/Unit_common.h"
#include "console/ConsoleIO.h"
#include "dialogs/TrackSettingsDialog.h"
#include "dialogs/UnitSetting.h"
#include "engine/ConversionRun.h"
#include "engine/EncoderCommandLines.h"
#include "engine/EncodingChoices.h"
#include "joblist/JobList.h"
#include "joblist/Unit_batch.h"
#include "platform/ErrorReport.h"
#include "platform/FileSystem.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/DesktopNotifier.h"
#include "platform/qt/DesktopShell.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/QtOwnerThreadChannel.h"
#include "platform/qt/QtTranslation.h"
#include "platform/qt/StandardFolders.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>

#include <unistd.h>

namespace velmora {

TfrmMain::TfrmMain(TfrmCommon& common)
    : ownQuestions_(std::make_unique<DialogQuestions>()), notifier_(std::make_unique<DesktopNotifier>()),
      qtTranslation_(std::make_unique<QtTranslation>()), questions_(ownQuestions_.get()), common_(common) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    CreateActions();
    CreateControls();
    CreateStickControls();
    CreateMenus();
    CreateConventions();
    jobList_ = std::make_unique<JobList>(listViewFiles);
    trackPreferences_ = ReadTrackPreferences(common_.Config());
    jobList_->SetTrackPreferenceWords(EncoderTrackWords());
    jobList_->LearnDurationsWith(EncoderPath(common_.appDir));
    ConnectHandlers();
    CreateRunners();
    ConnectConversionHandlers();
    CreateQueueCommands();

    // Files dropped from the file manager are queued.
    setAcceptDrops(true);
}

TfrmMain::~TfrmMain() {
    // The runners stop their encoders while the controls their events reach still exist.
    ConsoleIO.reset();
    ConsoleIOTHM.reset();
}

void TfrmMain::CreateRunners() {
    runnerChannel_ = std::make_shared<QtOwnerThreadChannel>();
    ConsoleIO = std::make_unique<TConsoleIO>(runnerChannel_);
    ConsoleIOTHM = std::make_unique<TConsoleIO>(runnerChannel_);
    SetUpEncoderRunners(*ConsoleIO, *ConsoleIOTHM, conversion_);
}

void TfrmMain::AttachDialogs(const MainWindowDialogs& dialogs) {
    dialogs_ = dialogs;
    if (dialogs_.frmTracks != nullptr) {
        dialogs_.frmTracks->SetWindowLanguage(WindowLanguageCode(common_.languageId));
        dialogs_.frmTracks->CurrentPreferences = [this] { return trackPreferences_; };
        dialogs_.frmTracks->OnChanged = [this](const TrackPreferences& chosen) {
            trackPreferences_ = chosen;
            ApplyTrackPreferences();
        };
    }
    if (dialogs_.FrmBatchAdd != nullptr)
        dialogs_.FrmBatchAdd->OnBatchAdd = [this](const std::string& folder, bool recurse,
                                                  const std::string& extension) {
            AddFolderFiles(folder, recurse, extension);
        };
}

void TfrmMain::ConnectHandlers() {
    connect(ActionExit, &QAction::triggered, this, Guarded([this] { ActionExitExecute(); }));
    connect(N_Setting, &QAction::triggered, this, Guarded([this] { N_SettingClick(); }));
    connect(N_Tracks, &QAction::triggered, this, Guarded([this] { N_TracksClick(); }));
    for (size_t i = 0; i < N_ProductItems.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        connect(N_ProductItems[i], &QAction::triggered, this,
                Guarded([this, number] { N_ProductClick(number); }));
    }
    for (QAction* item : N_LanguageItems)
        connect(item, &QAction::triggered, this,
                Guarded([this, item] { N_LanguageClick(item->data().toInt()); }));
    connect(editOutputFolder, &QLineEdit::textChanged, this, Guarded([this] { editOutputFolderChange(); }));
    connect(listViewFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu->popup(listViewFiles->viewport()->mapToGlobal(at)); });
    ConnectJobListHandlers();
    CreatePreviewCommand();
    ConnectSkinAndHelpCommands();
    ConnectEncodingChoices();
}

namespace {

using ComboBoxMember = QComboBox* TfrmMain::*;

struct StoredChoice {
    ComboBoxMember list;
    const char* key;
    const EncodingChoice& choice;
};

const std::array<StoredChoice, 6> kStoredChoices = {{
    {&TfrmMain::comboBoxVideoBitrate, "videoBitrate", kVideoBitrateChoice},
    {&TfrmMain::comboBoxFrameRate, "frameRate", kFrameRateChoice},
    {&TfrmMain::comboBoxVideoSize, "videoSize", kVideoSizeChoice},
    {&TfrmMain::comboBoxAudioBitrate, "audioBitrate", kAudioBitrateChoice},
    {&TfrmMain::comboBoxSampleRate, "sampleRate", kSampleRateChoice},
    {&TfrmMain::comboBoxChannel, "channel", kChannelChoice},
}};

} // namespace

void TfrmMain::ConnectEncodingChoices() {
    // Only the user's choices are stored: a start that changes nothing leaves config.ini as it was.
    for (const StoredChoice& stored : kStoredChoices)
        connect(this->*stored.list, &QComboBox::activated, this, [this, &stored](int position) {
            RunGuarded([&] { common_.WriteEncodingChoice(stored.key, position); });
        });
}

void TfrmMain::RestoreEncodingChoices() {
    for (const StoredChoice& stored : kStoredChoices)
        (this->*stored.list)
            ->setCurrentIndex(common_.ReadEncodingChoice(
                stored.key, static_cast<int>(stored.choice.items.size()), stored.choice.defaultPosition));
}

void TfrmMain::RestoreWindowPlacement() {
    const StoredWindowGeometry stored = common_.ReadMainWindowGeometry();
    QList<QRect> screens;
    for (const QScreen* each : QGuiApplication::screens())
        screens << each->availableGeometry();
    if (const std::optional<QRect> rect = RestoredWindowRect(stored.normal, minimumSizeHint(), screens)) {
        setGeometry(*rect);
        if (stored.maximized)
            setWindowState(windowState() | Qt::WindowMaximized);
    } else if (QScreen* desktop = screen()) {
        move(desktop->availableGeometry().center() - frameGeometry().center() + pos());
    }
    placedGeometry_ = {normalGeometry(), isMaximized()};
}

void TfrmMain::StoreWindowPlacement() const {
    if (!placedOnDesktop_)
        return;
    const StoredWindowGeometry now{normalGeometry(), isMaximized()};
    if (now.normal != placedGeometry_.normal || now.maximized != placedGeometry_.maximized)
        common_.WriteMainWindowGeometry(now);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (!placedOnDesktop_) {
        RunGuarded([this] { RestoreWindowPlacement(); });
        placedOnDesktop_ = true;
        QTimer::singleShot(0, this, Guarded([this] { RestoreKeptQueue(); }));
        // Over the window, once it is up.
        QTimer::singleShot(0, this, Guarded([this] { ShowReportKeptAtPowerOff(); }));
    }
    RunGuarded([this] { FormShow(); });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!ConfirmQuit()) {
        event->ignore();
        return;
    }
    RunGuarded([this] { FormClose(); });
    RunGuarded([this] { FlushKeptQueue(); });
    RunGuarded([this] { StoreWindowPlacement(); });
    event->accept();
    QCoreApplication::quit();
}

bool TfrmMain::ConfirmQuit() {
    if (quitWithoutAsking_ || !conversion_ || !conversion_->IsRunActive())
        return true;
    askingToQuit_ = true;
    const bool stop = questions_->AskYesNo(this, ApplicationTitle(), msgQuitWhileRunning);
    askingToQuit_ = false;
    // Answered No after the video had ended: the list is usable again until the next video.
    if (!stop && ConsoleIO && !ConsoleIO->IsRunning())
        SetRunControlsEnabled(true);
    // A stop signal while the question was open has answered it.
    return stop || quitWithoutAsking_;
}

void TfrmMain::ExitWithoutAsking() {
    quitWithoutAsking_ = true;
    close();
}

void TfrmMain::FormShow() {
    closing_ = false;
    quitWithoutAsking_ = false;
    ApplyLanguage();
    // An unreadable skin is reported, and the output folder is still filled in.
    RunGuarded([this] { common_.ApplySkin(common_.ReadSkinIndex()); });
    MarkSkinInUse();
    {
        // Restoring is no change: a start that changes nothing leaves config.ini as it was.
        const QSignalBlocker restoring(editOutputFolder);
        editOutputFolder->setText(QString::fromStdString(ReadOutputFolder()));
    }
    RestoreEncodingChoices();
    RestoreCropChoice();
    RestoreSoundLevelChoice();
}

void TfrmMain::FormClose() {
    closing_ = true;
    // The run ends with the window and stops both encoders; no runner is used by it again.
    if (conversion_)
        conversion_->Close();
    if (ConsoleIO && ConsoleIO->IsRunning()) {
        ConsoleIO->StopProcess();
        ConsoleIO.reset();
    }
    // A scratch file some encoder builds leave behind; nothing else removes it.
    const std::string scratch = SystemTemporaryFolder() + "q7z.avs";
    if (FileExists(scratch))
        unlink(scratch.c_str());
}

void TfrmMain::ActionExitExecute() {
    close();
}

void TfrmMain::N_SettingClick() {
    TfrmSetting* dialog = dialogs_.frmSetting;
    if (dialog == nullptr)
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TfrmMain::N_ProductClick(int number) {
    const QString page = QStringLiteral("https://www.velmora.example/products/%1").arg(number);
    ReportNotOpened(common_.Shell().Open(page), page);
}

std::string TfrmMain::ReadOutputFolder() const {
    return common_.Config().ReadString("setting", "outputFolder", VideosFolder());
}

void TfrmMain::WriteOutputFolder() const {
    common_.Config().WriteString("setting", "outputFolder", editOutputFolder->text().toStdString());
}

void TfrmMain::editOutputFolderChange() {
    try {
        WriteOutputFolder();
        RememberOutputStick();
        folderWriteFailure_.clear();
    } catch (const std::exception& failure) {
        // Shown again only once a write has worked in between.
        if (failure.what() == folderWriteFailure_)
            return;
        folderWriteFailure_ = failure.what();
        throw;
    }
}

} // namespace velmora
