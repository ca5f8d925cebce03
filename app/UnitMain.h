#pragma once

#include <QMainWindow>

#include <array>
#include <deque>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace velmora {

class TfrmCommon;
class TfrmPowerOffWindows;
class TfrmRunReport;
class TfrmSetting;
class TFrmBatchAdd;
class TFrmDirectory;
class ConversionRun;
class JobList;
class LanguageFile;
class ModalQuestions;
class OwnerThreadChannel;
class TConsoleIO;

// The dialogs whose texts the main window loads; they are created after it.
struct MainWindowDialogs {
    TfrmPowerOffWindows* frmPowerOffWindows = nullptr;
    TfrmSetting* frmSetting = nullptr;
    TFrmBatchAdd* FrmBatchAdd = nullptr;
    TFrmDirectory* FrmDirectory = nullptr;
    TfrmRunReport* frmRunReport = nullptr;
};

// The main window: the job list, the status, the encoding choices, the output folder and Convert.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmMain(TfrmCommon& common);
    ~TfrmMain() override;

    void AttachDialogs(const MainWindowDialogs& dialogs);

    void FormShow();
    void FormClose();
    void ActionExitExecute();
    void N_SettingClick();
    void N_ProductClick(int number);
    void N_SkinClick(int number); // N_Skin1Click … N_Skin18Click
    void N_LocalHelpClick();
    void N_HomePageClick();
    void N_SupportClick();
    void N_FeedBackClick();
    void N_UpdateClick();

    std::string ReadOutputFolder() const;
    void WriteOutputFolder() const;
    void editOutputFolderChange();

    // The job list and its commands.
    void AddFile(const std::string& path);
    void AddFolderFiles(const std::string& folder, bool recurse, const std::string& extension);
    void ActionFileAddExecute();
    void ActionFileBatchAddExecute();
    void ActionFileDeleteExecute();
    void ActionFileClearAllExecute();
    void ActionFileMoveUpExecute();
    void ActionFileMoveDownExecute();
    void ActionSetDirectoryExecute();
    JobList& Jobs() const { return *jobList_; }

    // Conversion: Convert starts a run or stops the encoder; the run controls lock while a video is
    // being made.
    void ActionConvertNowExecute();
    void SetRunControlsEnabled(bool enabled);
    void ResetStatusDisplay();
    void ConsoleIOProcessStatusChange(TConsoleIO& Sender, bool IsRunning);
    ConversionRun& Conversion() const { return *conversion_; }

    // Where modal questions and the open dialog go; the real dialogs by default. The caller keeps
    // ownership.
    void SetQuestions(ModalQuestions* questions);

    void LoadLanguageTexts(const std::string& languageFile);
    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    QTableWidget* listViewFiles;
    QGroupBox* groupBoxButtons;
    QPushButton* buttonAdd;
    QPushButton* buttonDelete;
    QPushButton* buttonClearAll;
    QPushButton* buttonMoveUp;
    QPushButton* buttonMoveDown;
    QGroupBox* groupBoxStatus;
    QLabel* labelCurrentDecrption;
    QLabel* labelCurrentProgress;
    QLabel* labelCurrentInfo;
    QProgressBar* progressBarCurrent;
    QGroupBox* groupBoxSettings;
    QGroupBox* GroupBoxSettingsVideo;
    QLabel* labelVideoBitrate;
    QComboBox* comboBoxVideoBitrate;
    QLabel* labelFrameRate;
    QComboBox* comboBoxFrameRate;
    QLabel* labelVideoSize;
    QComboBox* comboBoxVideoSize;
    QGroupBox* GroupBoxSettingsAudio;
    QLabel* labelAudioBitrate;
    QComboBox* comboBoxAudioBitrate;
    QLabel* labelSampleRate;
    QComboBox* comboBoxSampleRate;
    QLabel* labelChannel;
    QComboBox* comboBoxChannel;
    QGroupBox* groupBoxOutput;
    QLabel* labelOutput;
    QLineEdit* editOutputFolder;
    QPushButton* BitBtnOutput;
    QPushButton* buttonConvert;

    QAction* ActionFileAdd;
    QAction* ActionFileDelete;
    QAction* ActionFileClearAll;
    QAction* ActionFileMoveUp;
    QAction* ActionFileMoveDown;
    QAction* ActionExit;
    QAction* ActionSetDirectory;
    QAction* ActionFileBatchAdd;
    QAction* ActionConvertNow;

    QMenuBar* MainMenu;
    QMenu* N_1;
    QAction* N1_1;
    QAction* N1_11;
    QAction* N1_2;
    QAction* N1_3;
    QAction* N1_4;
    QAction* N1_5;
    QAction* N1_6;
    QAction* N1_7;
    QAction* N1_8;
    QAction* N1_9;
    QAction* N1_10;
    QMenu* N_Options;
    QAction* N_Setting;
    QMenu* N_Skin;
    std::array<QAction*, 18> N_SkinItems; // N_Skin1 … N_Skin18
    QMenu* N_Tools;
    QMenu* N_OtherProducts;
    std::array<QAction*, 9> N_ProductItems; // N_Product1 … N_Product9
    QMenu* N_Help;
    QAction* N_LocalHelp;
    QAction* N_HomePage;
    QAction* N_Support;
    QAction* N_FeedBack;
    QAction* N_Update;

    QMenu* PopupMenu;
    std::array<QAction*, 7> popMenuItems; // popMenu1 … popMenu7

    // The encoder runners: ConsoleIO makes the video, ConsoleIOTHM the thumbnail.
    std::unique_ptr<TConsoleIO> ConsoleIO;
    std::unique_ptr<TConsoleIO> ConsoleIOTHM;

    // Texts kept from the language file for later use.
    QString StringStartCaption;
    QString StringStopCaption;
    QString msgStatusReady;
    QString msgStatusRun;
    QString msgClearAll;
    QString msgFolderView;
    QString msgFinishInfo;
    QString msgListEmpty;
    QString msgOutputFolderNotFull;
    QString msgRunSummary;
    QString StringOutcomeFailed;
    QString StringOutcomeStopped;
    QString msgOutcomeConverted;
    QString msgOutcomeNoPicture;
    QString msgOutcomeFailed;
    QString msgOutcomeStopped;
    QString msgOutcomeStoppedKept;
    QString msgNameNotKept;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateControls();
    void CreateMenus();
    void ConnectHandlers();
    void ConnectSkinAndHelpCommands();
    void CreateRunners();
    void ConnectJobListHandlers();
    void ConnectConversionHandlers();
    // Queues dropped paths in order, processing events once a frame so the window stays responsive.
    void AddDroppedFiles();
    void ProcessPendingEvents();

    std::unique_ptr<JobList> jobList_;
    // What the run sees of this window.
    class RunView;
    std::unique_ptr<RunView> runView_;
    std::unique_ptr<ConversionRun> conversion_;
    std::unique_ptr<ModalQuestions> ownQuestions_;
    ModalQuestions* questions_;
    // The open dialog's filter last left selected with OK, for its next opening in this run.
    QString openFilter_;
    std::deque<std::string> droppedPaths_;
    bool addingDropped_ = false;
    // Set on close: scans and queued drops end rather than fill a window that is going away.
    bool closing_ = false;

    std::shared_ptr<OwnerThreadChannel> runnerChannel_;
    TfrmCommon& common_;
    MainWindowDialogs dialogs_;
    bool placedOnDesktop_ = false;
};

} // namespace velmora
