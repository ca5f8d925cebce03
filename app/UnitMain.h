#pragma once

#include "app/AboutText.h"
#include "app/WindowGeometry.h"
#include "engine/CropSetting.h"
#include "engine/TrackPreferences.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
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

struct QueueStatus;

class TfrmCommon;
class TfrmPowerOffWindows;
class TfrmRunReport;
class TfrmSetting;
class TrackSettingsDialog;
class TFrmBatchAdd;
class TFrmDirectory;
class ConversionRun;
struct FoundStick;
class StickWatcher;
class DesktopNotifier;
class GrowingPlacement;
class EmptyListHint;
class StatusLineLabel;
class JobList;
class KeptQueueStore;
struct KeptQueue;
struct KeptQueueTexts;
class LanguageFile;
class ModalQuestions;
class OwnerThreadChannel;
class PreviewWindow;
class QtTranslation;
class TConsoleIO;

// The dialogs whose texts the main window loads; they are created after it.
struct MainWindowDialogs {
    TfrmPowerOffWindows* frmPowerOffWindows = nullptr;
    TfrmSetting* frmSetting = nullptr;
    TFrmBatchAdd* FrmBatchAdd = nullptr;
    TFrmDirectory* FrmDirectory = nullptr;
    TfrmRunReport* frmRunReport = nullptr;
    TrackSettingsDialog* frmTracks = nullptr;
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
    // As File > Exit, but never asks first (a stop signal).
    void ExitWithoutAsking();
    // Switches every window to the language (kLanguageChinese …) at once and stores the choice.
    void N_LanguageClick(int32_t languageId);
    void N_SettingClick();
    // Options > Sound and Subtitles.
    void N_TracksClick();
    // The preview of the selected entry (Ctrl+P), and what it follows: the entry and the choices.
    void ActionPreviewExecute();
    void UpdatePreview();
    // The sound and subtitle words both encoder lines and the probes get, from the window's choice.
    std::vector<std::string> EncoderTrackWords() const;
    // The crop words as the check box shows, with the bars the entry's probe found (CropWords).
    std::vector<std::string> EncoderCropWords(const std::optional<CropFinding>& found = std::nullopt) const;
    void N_ProductClick(int number);
    void N_SkinClick(int number); // N_Skin1Click … N_Skin18Click
    void N_LocalHelpClick();
    void N_HomePageClick();
    void N_SupportClick();
    void N_FeedBackClick();
    void N_UpdateClick();
    void N_AboutClick();
    // The About box's text, with the versions loaded now.
    QString AboutBoxText() const;
    // Checks the skin menu's entry of the skin in use, if any.
    void MarkSkinInUse();

    std::string ReadOutputFolder() const;
    void WriteOutputFolder() const;
    void editOutputFolderChange();

    // The job list and its commands.
    void AddFile(const std::string& path);
    // Files given by the desktop (a drop, the command line, a later start) are queued here, in order, as
    // Add queues them; with nameRefused, those not queued are named afterwards in one message.
    void QueueOpenedFiles(std::vector<std::string> paths, bool nameRefused);
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
    // Where a run's report waits while the computer is powered off: beside config.ini, so that it
    // is the user's own and a copy run from its build folder keeps it there, as it keeps its settings.
    std::string KeptRunReportPath() const;
    // The report kept at the last power-off, shown once and then removed.
    void ShowReportKeptAtPowerOff();

    // The kept queue: restored at the first show, written after every change, flushed on close.
    void RestoreKeptQueue();
    void FlushKeptQueue();
    // The list's "Convert again" (the selected entries) and "Remove converted" commands.
    void ActionConvertAgainExecute();
    void ActionRemoveConvertedExecute();
    // With every entry converted, asks whether to convert them all again; false to do nothing.
    bool ConfirmConvertingAgain();
    QAction* ActionConvertAgain;
    QAction* ActionRemoveConverted;

    // Where modal questions and the open dialog go; the real dialogs by default. The caller keeps
    // ownership.
    void SetQuestions(ModalQuestions* questions);
    // Where the notice at a run's end goes; the session bus's notification service by default.
    void SetNotifier(std::unique_ptr<DesktopNotifier> notifier);

    void LoadLanguageTexts(const std::string& languageFile);
    void LoadLanguageTexts(const LanguageFile& texts);
    // Gives every window the CJK font chosen for the language (see PreferCjkFont).
    void ApplyJapaneseCharset();
    // Undoes ApplyJapaneseCharset on every window.
    void ApplyLatinCharset();

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
    QLabel* labelQueueDescription;
    QLabel* labelQueueInfo;
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
    QLabel* labelSoundLevel;
    QComboBox* comboBoxSoundLevel;
    QCheckBox* checkBoxCropBlackBars;
    QGroupBox* groupBoxOutput;
    QLabel* labelOutput;
    QLineEdit* editOutputFolder;
    QPushButton* BitBtnOutput;
    // Sets the output folder to a mounted PSP's VIDEO folder; shown while one is mounted.
    QPushButton* buttonStick;
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
    QAction* ActionPreview = nullptr;

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
    QAction* N_Tracks;
    QMenu* N_Language;
    std::array<QAction*, 11> N_LanguageItems; // As LanguageMenuEntries lists them; the number as data
    QMenu* N_Skin;
    std::array<QAction*, 18> N_SkinItems; // N_Skin1 … N_Skin18
    QAction* N_SkinDefault;               // the look of the first start
    QMenu* N_Tools;
    QMenu* N_OtherProducts;
    std::array<QAction*, 9> N_ProductItems; // N_Product1 … N_Product9
    QMenu* N_Help;
    QAction* N_LocalHelp;
    QAction* N_HomePage;
    QAction* N_Support;
    QAction* N_FeedBack;
    QAction* N_Update;
    QAction* N_About;

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
    QString msgOutcomeNoSubtitles;
    QString msgOutcomeColours;
    QString msgOutcomeNotMeasured;
    QString msgOutcomeLoudness;
    QString msgOutcomeFailed;
    QString msgOutcomeStopped;
    QString msgOutcomeStoppedKept;
    QString StringOutcomeStoppedKept;
    QString StringOutcomeStoppedKeptAt;
    QString msgSummaryDone;
    QString msgSummaryStopped;
    QString msgSummaryError;
    QString msgSummaryFailed;
    QString msgSummaryTook;
    QString StringListHint;
    QString StringOutcomeNotReached;
    QString msgOutcomeNotReached;
    QString msgStatusLengths;
    QString msgReportBeforePowerOff;
    QString msgNameNotKept;
    QString msgNotOpened;
    QString StringStickButton;
    QString StringStickChoice;
    QString StringStickHint;
    QString msgStickMissing;
    QString msgSpaceShort;
    QString StringGigabytes, StringMegabytes, StringKilobytes;
    QString msgFatTooLarge;
    QString msgConvertAnyway;
    QString msgQueueStatus;
    QString msgQueueLeftMoment;
    QString msgQueueLeftMinutes;
    QString msgQueueLeftHours;
    // The queue line during a run: files done, the percentage and, once known, the time left.
    QString QueueProgressText(const QueueStatus& status) const;
    QString msgTitleProgress;
    QString msgNoticeSummary;
    QString msgNoticeBody;
    QString msgQuitWhileRunning;
    QString StringOpenVideos;
    QStringList StringFilterNames; // the open dialog's filters, in order
    QString msgNotConverted;
    QString msgCannotOpen;
    QString msgCannotOpenFolder;
    QString StringAboutTitle;

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
    void CreateLanguageMenu();
    // Shortcuts, the About and default-look entries.
    void CreateConventions();
    void LoadConventionTexts(const LanguageFile& texts);
    // Fonts, texts and Qt's own dialogs in the language common_ names.
    void ApplyLanguage();
    // The probes ask again with the stored preferences (and the window's language).
    void ApplyTrackPreferences();
    void LoadTrackTexts(const LanguageFile& texts);
    void CreatePreviewCommand();
    void LoadPreviewTexts(const LanguageFile& texts);
    void CreateQueueCommands();
    void LoadQueueTexts(const LanguageFile& texts);
    KeptQueue KeptQueueNow() const;
    bool ConfirmQuit();
    void RestoreWindowPlacement();
    void StoreWindowPlacement() const;
    void RestoreEncodingChoices();
    void ConnectEncodingChoices();
    // The crop check box under the encoding choices, its text and its stored state.
    void CreateCropControl();
    void LoadCropTexts(const LanguageFile& texts);
    void RestoreCropChoice();
    // The sound level's list in the audio group, its texts and its stored choice.
    void CreateSoundLevelControl();
    void LoadSoundLevelTexts(const LanguageFile& texts);
    void RestoreSoundLevelChoice();
    void ConnectHandlers();
    void ConnectSkinAndHelpCommands();
    void CreateRunners();
    void ConnectJobListHandlers();
    void ConnectConversionHandlers();
    void CreateStickControls();
    void ShowFoundSticks();
    // The stick button left of Browse..., and the folder field up to whichever comes first.
    void PlaceStickButton();
    void ChooseStick(const FoundStick& stick);
    // Remembers the stick the output folder lies on, so that a run never makes it on the computer's own
    // disk while the stick is away; forgets it when the folder is elsewhere.
    void RememberOutputStick();
    // Queues the opened files in order, processing events once a frame so the window stays responsive.
    void AddOpenedFiles();
    void ProcessPendingEvents();
    // Says so when the desktop had no program to open the target.
    void ReportNotOpened(bool opened, const QString& target);

    AboutTexts aboutTexts_;
    std::unique_ptr<JobList> jobList_;
    std::unique_ptr<KeptQueueStore> keptQueue_;
    std::unique_ptr<KeptQueueTexts> queueTexts_;
    // What the run sees of this window.
    class RunView;
    std::unique_ptr<RunView> runView_;
    // The sound and subtitle preferences in force: read at start, then as chosen, stored or not.
    TrackPreferences trackPreferences_;
    std::unique_ptr<ConversionRun> conversion_;
    StickWatcher* stickWatcher_ = nullptr;
    std::unique_ptr<ModalQuestions> ownQuestions_;
    std::unique_ptr<DesktopNotifier> notifier_;
    GrowingPlacement* growingPlacement_ = nullptr;
    StatusLineLabel* statusLine_ = nullptr;
    EmptyListHint* emptyListHint_ = nullptr;
    PreviewWindow* previewWindow_ = nullptr; // one for the program, made at its first opening
    // The window's title from the language file, without a run's percentage.
    QString caption_;
    std::unique_ptr<QtTranslation> qtTranslation_;
    ModalQuestions* questions_;
    // The open dialog's filter last left selected with OK, by place, for its next opening in this run
    // in whichever language.
    int openFilter_ = 0;
    struct OpenedFile {
        std::string path;
        bool nameRefused;
    };
    std::deque<OpenedFile> openedFiles_;
    std::vector<std::string> refusedToName_;
    bool addingOpened_ = false;
    // Set on close: scans and queued drops end rather than fill a window that is going away.
    bool closing_ = false;
    bool quitWithoutAsking_ = false;
    // What a language switch must keep showing: Stop on Convert, and the lengths being read.
    bool runControlsLocked_ = false;
    bool runInProgress_ = false;
    // "Stop and quit?" is open: the run's controls stay as they were until it is answered.
    bool askingToQuit_ = false;
    bool readingLengths_ = false;
    // The output folder's last failed write, shown once rather than at every keystroke.
    std::string folderWriteFailure_;

    std::shared_ptr<OwnerThreadChannel> runnerChannel_;
    TfrmCommon& common_;
    MainWindowDialogs dialogs_;
    bool placedOnDesktop_ = false;
    // Where the start placed the window: leaving it there stores nothing.
    StoredWindowGeometry placedGeometry_;
};

} // namespace velmora
