#include "app/UnitMain.h"

#include "app/LanguageChoice.h"
#include "app/UnitMainRunView.h"
#include "app/Unit_common.h"
#include "console/ConsoleIO.h"
#include "dialogs/UnitSetting.h"
#include "engine/ConversionRun.h"
#include "engine/EncoderCommandLines.h"
#include "joblist/JobList.h"
#include "joblist/Unit_batch.h"
#include "platform/ErrorReport.h"
#include "platform/FileSystem.h"
#include "platform/qt/DesktopNotifier.h"
#include "platform/qt/DesktopShell.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/QtOwnerThreadChannel.h"
#include "platform/qt/StandardFolders.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QTableWidget>

#include <unistd.h>

namespace velmora {

TfrmMain::TfrmMain(TfrmCommon& common)
    : ownQuestions_(std::make_unique<DialogQuestions>()), notifier_(std::make_unique<DesktopNotifier>()),
      questions_(ownQuestions_.get()), common_(common) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    CreateActions();
    CreateControls();
    CreateStickControls();
    CreateMenus();
    jobList_ = std::make_unique<JobList>(listViewFiles);
    jobList_->LearnDurationsWith(EncoderPath(common_.appDir));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ConnectHandlers();
    CreateRunners();
    ConnectConversionHandlers();

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
    if (dialogs_.FrmBatchAdd != nullptr)
        dialogs_.FrmBatchAdd->OnBatchAdd = [this](const std::string& folder, bool recurse,
                                                  const std::string& extension) {
            AddFolderFiles(folder, recurse, extension);
        };
}

void TfrmMain::ConnectHandlers() {
    connect(ActionExit, &QAction::triggered, this, Guarded([this] { ActionExitExecute(); }));
    connect(N_Setting, &QAction::triggered, this, Guarded([this] { N_SettingClick(); }));
    for (size_t i = 0; i < N_ProductItems.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        connect(N_ProductItems[i], &QAction::triggered, this,
                Guarded([this, number] { N_ProductClick(number); }));
    }
    connect(editOutputFolder, &QLineEdit::textChanged, this, Guarded([this] { editOutputFolderChange(); }));
    connect(listViewFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu->popup(listViewFiles->viewport()->mapToGlobal(at)); });
    ConnectJobListHandlers();
    ConnectSkinAndHelpCommands();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (!placedOnDesktop_) {
        if (QScreen* desktop = screen())
            move(desktop->availableGeometry().center() - frameGeometry().center() + pos());
        placedOnDesktop_ = true;
    }
    RunGuarded([this] { FormShow(); });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    RunGuarded([this] { FormClose(); });
    event->accept();
    QCoreApplication::quit();
}

void TfrmMain::FormShow() {
    closing_ = false;
    if (common_.languageId == kLanguageJapanese)
        ApplyJapaneseCharset();
    LoadLanguageTexts(common_.languageFile);
    // An unreadable skin is reported, and the output folder is still filled in.
    RunGuarded([this] { common_.ApplySkin(common_.ReadSkinIndex()); });
    editOutputFolder->setText(QString::fromStdString(ReadOutputFolder()));
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
    common_.Shell().Open(QStringLiteral("https://www.velmora.example/products/%1").arg(number));
}

std::string TfrmMain::ReadOutputFolder() const {
    return common_.Config().ReadString("setting", "outputFolder", VideosFolder());
}

void TfrmMain::WriteOutputFolder() const {
    common_.Config().WriteString("setting", "outputFolder", editOutputFolder->text().toStdString());
}

void TfrmMain::editOutputFolderChange() {
    WriteOutputFolder();
    RememberOutputStick();
}

} // namespace velmora
