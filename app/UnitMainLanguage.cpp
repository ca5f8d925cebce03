// The main window's texts from the language file, for itself and for every dialog.
#include "app/UnitMain.h"

#include "app/LanguageChoice.h"
#include "app/UnitMainRunView.h"
#include "app/Unit_common.h"

#include "dialogs/TrackSettingsDialog.h"
#include "dialogs/UnitCloseWindows.h"
#include "dialogs/UnitRunReport.h"
#include "dialogs/UnitSetting.h"
#include "joblist/EmptyListHint.h"
#include "joblist/FileOpenFilters.h"
#include "joblist/Unit_batch.h"
#include "joblist/Unit_common_directory.h"
#include "platform/ErrorReport.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/JapaneseFont.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/QtTranslation.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include <optional>
#include <utility>

namespace velmora {

namespace {

std::optional<CjkScript> CjkScriptOf(int32_t languageId) {
    switch (languageId) {
    case kLanguageJapanese:
        return CjkScript::Japanese;
    case kLanguageKorean:
        return CjkScript::Korean;
    case kLanguageTraditionalChinese:
        return CjkScript::TraditionalChinese;
    default:
        return std::nullopt;
    }
}

} // namespace

void TfrmMain::N_LanguageClick(int32_t languageId) {
    common_.ChangeLanguage(languageId);
    ApplyLanguage();
    common_.WriteLanguage();
}

void TfrmMain::ApplyLanguage() {
    // Chinese keeps the window's own font, as it always has.
    if (const std::optional<CjkScript> script = CjkScriptOf(common_.languageId)) {
        PreferCjkFont(*script);
        ApplyJapaneseCharset();
    } else {
        ApplyLatinCharset();
    }
    qtTranslation_->Use(QString::fromStdString(common_.qtLocale));
    LoadLanguageTexts(common_.languageFile);
    ApplyTrackPreferences();
    const int32_t shown = KnownLanguage(common_.languageId);
    for (QAction* item : N_LanguageItems)
        item->setChecked(item->data().toInt() == shown);
}

void TfrmMain::LoadLanguageTexts(const std::string& languageFile) {
    const LanguageFile texts(languageFile);
    LoadLanguageTexts(texts);
    // Once for the whole file, after every window has asked for its texts.
    if (const std::string problem = texts.Problem(); !problem.empty())
        ReportError(problem);
}

void TfrmMain::LoadLanguageTexts(const LanguageFile& texts) {
    SetApplicationTitle(texts.Text("App", "Title"));

    const char* section = "frmMain";
    auto text = [&](const char* key) { return texts.Text(section, key); };
    caption_ = text("caption");
    setWindowTitle(caption_);
    for (QAction* action :
         {ActionFileAdd, ActionFileBatchAdd, ActionConvertNow, ActionFileDelete, ActionFileClearAll,
          ActionFileMoveUp, ActionFileMoveDown, ActionExit, ActionSetDirectory})
        action->setText(text(action->objectName().toLatin1().constData()));
    listViewFiles->setHorizontalHeaderLabels({text("ListViewItem0")});
    groupBoxStatus->setTitle(text("groupBoxStatus"));
    groupBoxSettings->setTitle(text("groupBoxSettings"));
    groupBoxOutput->setTitle(text("groupBoxOutput"));
    GroupBoxSettingsVideo->setTitle(text("groupBoxSettingsVideo"));
    GroupBoxSettingsAudio->setTitle(text("groupBoxSettingsAudio"));
    for (QLabel* label :
         {labelCurrentDecrption, labelCurrentProgress, labelQueueDescription, labelOutput, labelVideoBitrate,
          labelFrameRate, labelVideoSize, labelAudioBitrate, labelSampleRate, labelChannel})
        label->setText(text(label->objectName().toLatin1().constData()));

    StringStartCaption = text("StringStartCaption");
    StringStopCaption = text("StringStopCaption");
    // Convert offers to stop the run in every language.
    if (runControlsLocked_)
        ActionConvertNow->setText(StringStopCaption);
    msgStatusReady = text("msgStatusReady");
    msgStatusLengths = text("msgStatusLengths");
    labelCurrentInfo->setText(readingLengths_ ? msgStatusLengths : msgStatusReady);
    msgStatusRun = text("msgStatusRun");
    msgClearAll = text("msgClearAll");
    msgFolderView = text("msgFolderView");
    msgFinishInfo = text("msgFinishInfo");
    msgListEmpty = text("msgListEmpty");
    msgOutputFolderNotFull = text("msgOutputFolderNotFull");
    msgRunSummary = text("msgRunSummary");
    StringOutcomeFailed = text("StringOutcomeFailed");
    StringOutcomeStopped = text("StringOutcomeStopped");
    msgOutcomeConverted = text("msgOutcomeConverted");
    msgOutcomeNoPicture = text("msgOutcomeNoPicture");
    msgOutcomeNoSubtitles = text("msgOutcomeNoSubtitles");
    msgOutcomeColours = text("msgOutcomeColours");
    msgOutcomeFailed = text("msgOutcomeFailed");
    msgOutcomeStopped = text("msgOutcomeStopped");
    msgOutcomeStoppedKept = text("msgOutcomeStoppedKept");
    for (auto [member, key] : {std::pair{&StringOutcomeStoppedKept, "StringOutcomeStoppedKept"},
                               {&StringOutcomeStoppedKeptAt, "StringOutcomeStoppedKeptAt"},
                               {&msgSummaryDone, "msgSummaryDone"},
                               {&msgSummaryStopped, "msgSummaryStopped"},
                               {&msgSummaryError, "msgSummaryError"},
                               {&msgSummaryFailed, "msgSummaryFailed"},
                               {&msgSummaryTook, "msgSummaryTook"},
                               {&StringListHint, "StringListHint"}})
        *member = text(key);
    emptyListHint_->SetText(StringListHint);
    StringOutcomeNotReached = text("StringOutcomeNotReached");
    msgOutcomeNotReached = text("msgOutcomeNotReached");
    msgReportBeforePowerOff = text("msgReportBeforePowerOff");
    msgNameNotKept = text("msgNameNotKept");
    for (auto [member, key] : {std::pair{&StringStickButton, "StringStickButton"},
                               {&StringStickChoice, "StringStickChoice"},
                               {&StringStickHint, "StringStickHint"},
                               {&msgStickMissing, "msgStickMissing"},
                               {&msgSpaceShort, "msgSpaceShort"},
                               {&msgFatTooLarge, "msgFatTooLarge"},
                               {&msgConvertAnyway, "msgConvertAnyway"}})
        *member = text(key);
    ShowFoundSticks();
    msgQueueStatus = text("msgQueueStatus");
    msgQueueLeftMoment = text("msgQueueLeftMoment");
    msgQueueLeftMinutes = text("msgQueueLeftMinutes");
    msgQueueLeftHours = text("msgQueueLeftHours");
    msgTitleProgress = text("msgTitleProgress");
    msgNoticeSummary = text("msgNoticeSummary");
    msgNoticeBody = text("msgNoticeBody");
    msgQuitWhileRunning = text("msgQuitWhileRunning");
    StringOpenVideos = text("StringOpenVideos");
    StringFilterNames.clear();
    for (const QString& key : FileOpenFilterKeys())
        StringFilterNames << text(key.toLatin1().constData());
    msgNotConverted = text("msgNotConverted");
    msgCannotOpen = text("msgCannotOpen");
    msgCannotOpenFolder = text("msgCannotOpenFolder");
    LoadQueueTexts(texts);
    runView_->ShowOutcomesAgain();
    LoadConventionTexts(texts);

    for (QMenu* menu : {N_1, N_Skin, N_Tools, N_OtherProducts, N_Help, N_Options, N_Language})
        menu->setTitle(text(menu->objectName().toLatin1().constData()));
    for (QAction* item : N_SkinItems)
        item->setText(text(item->objectName().toLatin1().constData()));
    for (QAction* item : N_ProductItems)
        item->setText(text(item->objectName().toLatin1().constData()));
    for (QAction* item : {N_LocalHelp, N_HomePage, N_Support, N_FeedBack, N_Update, N_Setting})
        item->setText(text(item->objectName().toLatin1().constData()));

    if (dialogs_.FrmDirectory)
        dialogs_.FrmDirectory->LoadLanguageTexts(texts);
    if (dialogs_.FrmBatchAdd)
        dialogs_.FrmBatchAdd->LoadLanguageTexts(texts);
    if (dialogs_.frmPowerOffWindows)
        dialogs_.frmPowerOffWindows->LoadLanguageTexts(texts);
    if (dialogs_.frmSetting)
        dialogs_.frmSetting->LoadLanguageTexts(texts);
    if (dialogs_.frmRunReport)
        dialogs_.frmRunReport->LoadLanguageTexts(texts);
    if (dialogs_.frmTracks)
        dialogs_.frmTracks->LoadLanguageTexts(texts);
    LoadTrackTexts(texts);
    LoadCropTexts(texts);
    LoadPreviewTexts(texts);
}

void TfrmMain::ApplyJapaneseCharset() {
    // These sit inside group boxes that switch; they keep their own font.
    for (QWidget* control : std::initializer_list<QWidget*>{
             comboBoxVideoBitrate, comboBoxFrameRate, comboBoxVideoSize, comboBoxAudioBitrate,
             comboBoxSampleRate, comboBoxChannel, editOutputFolder, BitBtnOutput})
        KeepFontFamily(control);
    for (QWidget* control : std::initializer_list<QWidget*>{groupBoxButtons,
                                                            groupBoxStatus,
                                                            groupBoxSettings,
                                                            GroupBoxSettingsVideo,
                                                            GroupBoxSettingsAudio,
                                                            groupBoxOutput,
                                                            labelCurrentDecrption,
                                                            labelCurrentProgress,
                                                            labelCurrentInfo,
                                                            labelQueueDescription,
                                                            labelQueueInfo,
                                                            labelVideoBitrate,
                                                            labelFrameRate,
                                                            labelVideoSize,
                                                            labelAudioBitrate,
                                                            labelSampleRate,
                                                            labelChannel,
                                                            labelOutput,
                                                            buttonAdd,
                                                            buttonDelete,
                                                            buttonClearAll,
                                                            buttonMoveUp,
                                                            buttonMoveDown,
                                                            buttonConvert,
                                                            listViewFiles})
        UseJapaneseFont(control);
    UseJapaneseFont(checkBoxCropBlackBars);
    if (dialogs_.FrmBatchAdd)
        dialogs_.FrmBatchAdd->ApplyJapaneseCharset();
    if (dialogs_.FrmDirectory)
        dialogs_.FrmDirectory->ApplyJapaneseCharset();
    if (dialogs_.frmSetting)
        dialogs_.frmSetting->ApplyJapaneseCharset();
    if (dialogs_.frmPowerOffWindows)
        dialogs_.frmPowerOffWindows->ApplyJapaneseCharset();
    if (dialogs_.frmRunReport)
        dialogs_.frmRunReport->ApplyJapaneseCharset();
    if (dialogs_.frmTracks)
        dialogs_.frmTracks->ApplyJapaneseCharset();
}

void TfrmMain::ApplyLatinCharset() {
    // The controls given a Japanese font inherit their window's again, restyled by the skin.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control->font().families().value(0) != JapaneseFontFamily())
            continue;
        control->setFont(QFont());
        control->style()->unpolish(control);
        control->style()->polish(control);
    }
}

} // namespace velmora
