#include "app/LanguageChoice.h"
#include "app/StickWatcher.h"
#include "joblist/OutcomeDelegate.h"
#include "platform/BoundedFileRead.h"
#include "platform/ProfileFile.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/StandardFolders.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>

#include <sys/stat.h>
#include <unistd.h>

#include <set>

namespace velmora::test {
namespace {

using Localization = ProgramFolderTest;
using Texts = std::vector<std::string>;

bool UsesJapaneseFont(const QWidget* widget) {
    return widget->font().families().value(0) == QStringLiteral("Noto Sans CJK JP");
}

// The vocabulary the program reads, as the language files are written for it.
std::set<std::pair<std::string, std::string>> ExpectedVocabulary() {
    std::set<std::pair<std::string, std::string>> keys{{"App", "Title"}};
    for (const char* key : {"caption",
                            "ActionFileAdd",
                            "ActionFileBatchAdd",
                            "ActionConvertNow",
                            "ActionFileDelete",
                            "ActionFileClearAll",
                            "ActionFileMoveUp",
                            "ActionFileMoveDown",
                            "ActionExit",
                            "ActionSetDirectory",
                            "ListViewItem0",
                            "groupBoxStatus",
                            "groupBoxSettings",
                            "groupBoxOutput",
                            "groupBoxSettingsVideo",
                            "groupBoxSettingsAudio",
                            "labelCurrentDecrption",
                            "labelCurrentProgress",
                            "labelOutput",
                            "labelVideoBitrate",
                            "labelFrameRate",
                            "labelVideoSize",
                            "labelAudioBitrate",
                            "labelSampleRate",
                            "labelChannel",
                            "checkBoxCropBlackBars",
                            "labelSoundLevel",
                            "StringSoundAsRecorded",
                            "StringSoundSame",
                            "StringSoundEvened",
                            "hintSoundLevel",
                            "StringStartCaption",
                            "StringStopCaption",
                            "msgStatusReady",
                            "msgStatusRun",
                            "msgClearAll",
                            "msgFolderView",
                            "msgFinishInfo",
                            "msgListEmpty",
                            "msgOutputFolderNotFull",
                            "msgRunSummary",
                            "StringOutcomeFailed",
                            "StringOutcomeStopped",
                            "msgOutcomeConverted",
                            "msgOutcomeNoPicture",
                            "msgOutcomeNoSubtitles",
                            "msgOutcomeNotMeasured",
                            "msgOutcomeLoudness",
                            "msgOutcomeFailed",
                            "msgOutcomeStopped",
                            "msgOutcomeStoppedKept",
                            "msgNameNotKept",
                            "msgQuitWhileRunning",
                            "N_1",
                            "N_Skin",
                            "N_Tools",
                            "N_OtherProducts",
                            "N_Help",
                            "N_LocalHelp",
                            "N_HomePage",
                            "N_Support",
                            "N_FeedBack",
                            "N_Update",
                            "N_Options",
                            "N_Setting",
                            "N_Language"})
        keys.emplace("frmMain", key);
    for (const char* key :
         {"labelQueueDescription", "msgQueueStatus", "msgQueueLeftMoment", "msgQueueLeftMinutes",
          "msgQueueLeftHours", "msgTitleProgress", "msgNoticeSummary", "msgNoticeBody"})
        keys.emplace("frmMain", key);
    for (int n = 1; n <= 18; ++n)
        keys.emplace("frmMain", "N_Skin" + std::to_string(n));
    for (int n = 1; n <= 9; ++n)
        keys.emplace("frmMain", "N_Product" + std::to_string(n));
    for (const char* key :
         {"StringStickButton", "StringStickChoice", "StringStickHint", "msgStickMissing", "msgSpaceShort",
          "msgFatTooLarge", "msgConvertAnyway", "msgStatusLengths", "StringOutcomeNotReached",
          "msgOutcomeNotReached", "msgReportBeforePowerOff", "StringOutcomeStoppedKept",
          "StringOutcomeStoppedKeptAt", "msgSummaryDone", "msgSummaryStopped", "msgSummaryError",
          "msgSummaryFailed", "msgSummaryTook", "StringListHint"})
        keys.emplace("frmMain", key);
    for (const char* key :
         {"StringOpenVideos", "StringFilterVideo", "StringFilterRM", "StringFilterAVI", "StringFilterMPEG",
          "StringFilterWMV", "StringFilterPortable", "StringFilterDVD", "StringFilterQuickTime",
          "StringFilterWeb", "StringFilterAll", "msgNotConverted", "msgCannotOpen", "msgCannotOpenFolder"})
        keys.emplace("frmMain", key);
    for (const char* key :
         {"N_SkinDefault", "N_About", "StringAboutTitle", "msgAboutVersion", "msgAboutLicence",
          "msgAboutLibraries", "StringAboutNoX264", "hintVideoBitrate", "hintFrameRate", "hintVideoSize",
          "hintAudioBitrate", "hintSampleRate", "hintChannel"})
        keys.emplace("frmMain", key);
    for (const char* key : {"caption", "labelDiretroy", "buttonOK", "buttonCancel"})
        keys.emplace("frmDirectory", key);
    for (const char* key : {"caption", "labelDirectory", "checkBoxIsSubDirectorie", "labelFileNameExt",
                            "labelNoticeFileNameExt", "buttonOK", "buttonCancel"})
        keys.emplace("frmBatchAdd", key);
    for (const char* section : {"frmDirectory", "frmBatchAdd"})
        for (const char* key : {"buttonNewFolder", "msgNewFolder", "msgNewFolderFailed"})
            keys.emplace(section, key);
    for (const char* key : {"caption", "labelNotice", "buttonYes", "buttonNo", "labelFailed", "labelOutcome",
                            "labelQuestion", "buttonReport"})
        keys.emplace("frmPowerOffWindows", key);
    for (const char* key : {"caption", "checkBoxAutoPowerOff", "labelWaitTime", "ButtonOK", "ButtonCancel"})
        keys.emplace("frmSetting", key);
    for (const char* key : {"caption", "labelProblems", "buttonCopy", "buttonRemoveConverted", "buttonClose"})
        keys.emplace("frmRunReport", key);
    for (const char* key : {"N_Tracks", "ActionPreview", "msgTrackSound", "msgTrackNoSound",
                            "msgTrackSubtitles", "msgTrackNoSubtitles", "StringTrackUnmarked",
                            "StringTrackDefault", "StringTrackForced", "StringTrackCommentary"})
        keys.emplace("frmMain", key);
    for (const char* key :
         {"caption", "groupBoxSound", "labelSoundFirst", "labelSoundSecond", "groupBoxSubtitles",
          "radioSubtitlesNone", "radioSubtitlesSource", "radioSubtitlesAlways", "labelSubtitleFirst",
          "labelSubtitleSecond", "StringFromTheVideo", "StringNoChoice", "StringWindowLanguage", "ButtonOK",
          "ButtonCancel"})
        keys.emplace("frmTracks", key);
    for (const char* key : {"msgNotOpened", "StringGigabytes", "StringMegabytes", "StringKilobytes",
                            "msgTrackPicture", "StringPictureHdrPq", "StringPictureHdrHlg",
                            "StringPictureWideGamut", "msgTrackPictureDolbyVision5", "msgOutcomeColours"})
        keys.emplace("frmMain", key);
    keys.emplace("frmSetting", "LabelSecond");
    for (const char* key :
         {"ActionConvertAgain", "ActionRemoveConverted", "StringOutcomeMissing", "msgOutcomeMissing",
          "msgQueueDamaged", "msgQueueLost", "msgQueueOtherWindow", "msgQueueNotKept", "msgQueueInterrupted",
          "msgQueueInterruptedKept", "msgConvertAllAgain", "msgReasonSourceGone", "msgReasonOutputGone",
          "msgOutcomeReplacedPart"})
        keys.emplace("KeptQueue", key);
    return keys;
}

TEST_F(Localization, EveryVocabularyKeyIsReadAndFilledInEachLanguageFile) {
    const auto expected = ExpectedVocabulary();
    ProgramWindows& started = Start();
    for (const char* name : {"en.ini", "gb.ini", "jp.ini"}) {
        SCOPED_TRACE(name);
        const std::string path = folder / "language/" + name;
        LanguageFile texts(path);
        started.frmMain.LoadLanguageTexts(texts);
        std::set<std::pair<std::string, std::string>> read(texts.KeysRead().begin(), texts.KeysRead().end());
        EXPECT_EQ(read, expected);

        ProfileContent content = ProfileContent::Load(path);
        for (const auto& [section, key] : expected)
            EXPECT_NE(content.ReadString(section, key, ""), "") << section << "/" << key;
        const std::string statusRun = content.ReadString("frmMain", "msgStatusRun", "");
        EXPECT_EQ(statusRun.find("%s"), statusRun.rfind('%')) << "one %s and no other format: " << statusRun;
        EXPECT_NE(statusRun.find("%s"), std::string::npos);
        const std::string whole = ReadTextFile(path);
        EXPECT_EQ(QString::fromUtf8(whole.data(), static_cast<qsizetype>(whole.size())).toStdString(), whole)
            << "UTF-8";
    }
}

TEST_F(Localization, EnglishTextsReachEveryWindowAndKeptText) {
    ProgramWindows& started = Show();
    TfrmMain& frmMain = started.frmMain;
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("Velmora PSP Video Converter"));
    EXPECT_EQ(frmMain.windowTitle(), QStringLiteral("Velmora PSP Video Converter"));
    EXPECT_EQ(frmMain.buttonAdd->text(), QStringLiteral("&Add..."));
    EXPECT_EQ(frmMain.N1_11->text(), QStringLiteral("Add &Folder..."));
    EXPECT_EQ(frmMain.BitBtnOutput->text(), QStringLiteral("&Browse..."));
    EXPECT_EQ(frmMain.listViewFiles->horizontalHeaderItem(0)->text(), QStringLiteral("Files to convert"));
    EXPECT_EQ(frmMain.GroupBoxSettingsAudio->title(), QStringLiteral("Audio"));
    EXPECT_EQ(frmMain.N_Skin->title(), QStringLiteral("S&kin"));
    EXPECT_EQ(frmMain.N_ProductItems[7]->text(), QStringLiteral("Velmora &Phone Video Converter"));
    EXPECT_EQ(frmMain.labelCurrentInfo->text(), QStringLiteral("Ready"));
    EXPECT_EQ(frmMain.msgStatusRun, QStringLiteral("Converting %s"));
    EXPECT_EQ(frmMain.StringStopCaption, QStringLiteral("&Stop"));
    EXPECT_EQ(frmMain.msgFinishInfo, QStringLiteral("Open the output folder now?"));

    EXPECT_EQ(started.frmSetting.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(started.frmSetting.LabelSecond->text(), QStringLiteral("seconds"));
    EXPECT_EQ(started.FrmDirectory.LabelDirectory->text(), QStringLiteral("Folder:"));
    EXPECT_EQ(started.FrmBatchAdd.checkBoxIsSubDirectorie->text(), QStringLiteral("&Include subfolders"));
    EXPECT_EQ(started.FrmBatchAdd.editExt->text(), QStringLiteral("*")) << "never translated";
    EXPECT_EQ(started.frmPowerOffWindows.buttonYes->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(started.frmPowerOffWindows.FYesCaption, QStringLiteral("&Yes"));
    EXPECT_EQ(frmMain.comboBoxAudioBitrate->currentText(), QStringLiteral("128K(CD quality)"));
}

TEST_F(Localization, LanguageNumberPicksTheFile) {
    WriteConfig("[common]\nlanguage=1\n");
    EXPECT_EQ(Show().frmMain.windowTitle(), QStringLiteral("Velmora PSP 视频转换器"));
    WriteConfig("[common]\nlanguage=0x3\n");
    EXPECT_EQ(Show().frmMain.ActionExit->text(), QStringLiteral("終了(&X)"));
    WriteConfig("[common]\nlanguage=12\n");
    EXPECT_EQ(Show().frmMain.ActionExit->text(), QStringLiteral("E&xit"));
}

TEST_F(Localization, KeysAreFoundInAnyLetterCase) {
    WriteLanguageFile("en.ini", "[FRMSETTING]\nBUTTONOK=Fine\n[FrmMain]\nactionexit=Quit\n");
    ProgramWindows& started = Show();
    EXPECT_EQ(started.frmSetting.ButtonOK->text(), QStringLiteral("Fine"));
    EXPECT_EQ(started.frmMain.ActionExit->text(), QStringLiteral("Quit"));
}

TEST_F(Localization, FolderChooserLabelKeepsItsOwnKeySpelling) {
    WriteLanguageFile("en.ini", "[frmDirectory]\nlabelDirectory=Wrong\n");
    EXPECT_EQ(Show().FrmDirectory.LabelDirectory->text(), QStringLiteral("Folder:"));
    WriteLanguageFile("en.ini", "[frmDirectory]\nlabelDiretroy=Right\n");
    EXPECT_EQ(Show().FrmDirectory.LabelDirectory->text(), QStringLiteral("Right"));
}

TEST_F(Localization, OddConfigOrLanguageFileGivesOneMessageAndTheProgramGoesOn) {
    for (const std::string kind : {"pipe", "device", "huge", "missing"}) {
        const std::string reason = kind == "huge"      ? "Larger than 1024 KiB"
                                   : kind == "missing" ? "No such file or directory"
                                                       : "Not a regular file";
        for (const std::string name : {"config.ini", "language/en.ini"}) {
            WriteConfig("[setting]\noutputFolder=/stored/\n");
            CopyShippedLanguageFiles(VELMORA_SOURCE_DIR, folder.Path());
            const std::string at = folder / name;
            std::remove(at.c_str());
            if (kind == "pipe")
                ASSERT_EQ(mkfifo(at.c_str(), 0644), 0);
            else if (kind == "device")
                ASSERT_EQ(symlink("/dev/zero", at.c_str()), 0);
            else if (kind == "huge")
                WriteTextFile(at, std::string(kProfileFileLimit + 1, ';'));
            errors.shown.clear();
            TfrmMain& frmMain = Show().frmMain;
            const bool config = name == "config.ini";
            const std::string after =
                config ? "The settings are neither read nor saved." : "The built-in English texts are shown.";
            // A missing config.ini is only the first start.
            EXPECT_EQ(errors.shown, config && kind == "missing"
                                        ? Texts{}
                                        : Texts{"Cannot open file \"" + at + "\". " + reason + ".\n" + after})
                << kind << " " << name;
            EXPECT_EQ(frmMain.buttonAdd->text(), QStringLiteral("&Add...")) << kind << " " << name;
            EXPECT_EQ(frmMain.editOutputFolder->text().toStdString(), config ? VideosFolder() : "/stored/");
            std::remove(at.c_str()); // a pipe would hold up the next copy
        }
    }
    // A file with some texts keeps them; one message counts the rest, shown in English.
    WriteLanguageFile("en.ini", "[frmMain]\nActionExit=Leave\n");
    errors.shown.clear();
    TfrmMain& frmMain = Show().frmMain;
    EXPECT_EQ(frmMain.ActionExit->text(), QStringLiteral("Leave"));
    EXPECT_EQ(frmMain.buttonAdd->text(), QStringLiteral("&Add..."));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].rfind("The language file \"" + folder / "language/en.ini\" lacks ", 0), 0u);
}

TEST_F(Localization, NamesAndErrorTextsAreShownLiterally) {
    ProgramWindows& started = Show();
    const auto shown = [](const QString& tip) {
        QTextDocument document;
        Qt::mightBeRichText(tip) ? document.setHtml(tip) : document.setPlainText(tip);
        return document.toPlainText();
    };
    const QString name = QStringLiteral("/v/<h1>big & <i>x</i>.avi");
    started.frmMain.AddFile(name.toStdString());
    EXPECT_EQ(shown(started.frmMain.listViewFiles->item(0, 0)->toolTip()), name);
    // A stick without a label is named by its mount folder.
    MakeFolder(folder / "<i>Sony/PSP");
    auto* sticks = started.frmMain.findChild<StickWatcher*>();
    sticks->ReadMountsWith([&] { return "/dev/sdz1 " + folder / "<i>Sony vfat rw 0 0\n"; });
    ASSERT_EQ(sticks->Sticks().at(0).label, QStringLiteral("<i>Sony"));
    EXPECT_EQ(shown(started.frmMain.buttonStick->toolTip()), started.frmMain.StringStickHint.arg("<i>Sony"));
    for (const QLabel* label : {started.frmMain.labelCurrentInfo, started.frmPowerOffWindows.labelNotice,
                                started.frmRunReport.labelSummary})
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
}

TEST_F(Localization, RowOutcomesFollowASwitchOfLanguage) {
    WriteTextFile(folder / "libq7z", "#!/bin/sh\necho 'libq7z: unreadable' >&2\nexit 1\n");
    ASSERT_EQ(chmod((folder / "libq7z").c_str(), 0755), 0);
    TfrmMain& frmMain = Show().frmMain;
    frmMain.editOutputFolder->setText(QString::fromStdString(folder / "out/"));
    WriteTextFile(folder / "a.avi", "");
    frmMain.AddFile(folder / "a.avi");
    frmMain.ActionConvertNow->trigger();
    for (const auto& [language, mark] : std::vector<std::pair<int32_t, QString>>{{1, "失败"}, {3, "失敗"}}) {
        frmMain.N_LanguageClick(language);
        const QTableWidgetItem* row = frmMain.listViewFiles->item(0, 0);
        EXPECT_EQ(row->data(OutcomeDelegate::MarkRole).toString(), mark);
        EXPECT_EQ(row->data(Qt::AccessibleDescriptionRole).toString(),
                  frmMain.msgOutcomeFailed.arg("unreadable"));
    }
}

TEST_F(Localization, JapaneseSwitchesTheListedControlsAndKeepsEveryMenu) {
    WriteConfig("[common]\nlanguage=3\n");
    ProgramWindows& started = Show();
    TfrmMain& frmMain = started.frmMain;
    for (QMenu* menu : {frmMain.N_1, frmMain.N_Options, frmMain.N_Skin, frmMain.N_Tools, frmMain.N_Help})
        EXPECT_TRUE(menu->menuAction()->isVisible());
    for (QWidget* listed : std::initializer_list<QWidget*>{
             frmMain.buttonConvert, frmMain.listViewFiles, frmMain.labelChannel, frmMain.groupBoxOutput,
             frmMain.labelCurrentInfo, started.FrmBatchAdd.checkBoxIsSubDirectorie,
             started.FrmDirectory.ButtonOK, started.frmSetting.LabelSecond,
             started.frmPowerOffWindows.buttonNo})
        EXPECT_TRUE(UsesJapaneseFont(listed)) << listed->objectName().toStdString();
    for (QWidget* other : std::initializer_list<QWidget*>{frmMain.comboBoxChannel, frmMain.editOutputFolder,
                                                          frmMain.BitBtnOutput, started.FrmBatchAdd.editExt})
        EXPECT_FALSE(UsesJapaneseFont(other)) << other->objectName().toStdString();
    EXPECT_EQ(frmMain.buttonConvert->font().pointSize(), frmMain.BitBtnOutput->font().pointSize());
}

TEST_F(Localization, ConvertKeepsOfferingStopInEveryLanguageDuringARun) {
    TfrmMain& frmMain = Show().frmMain;
    frmMain.SetRunControlsEnabled(false);
    for (const auto& [language, stop] : {std::pair{kLanguageJapanese, "停止(&S)"},
                                         {kLanguageChinese, "停止(&S)"},
                                         {kLanguageEnglish, "&Stop"}}) {
        frmMain.N_LanguageClick(language);
        EXPECT_EQ(frmMain.buttonConvert->text(), QString::fromUtf8(stop)) << language;
    }
    frmMain.SetRunControlsEnabled(true);
    frmMain.N_LanguageClick(kLanguageJapanese);
    EXPECT_EQ(frmMain.buttonConvert->text(), QStringLiteral("変換開始(&V)"));
}

TEST_F(Localization, OtherLanguagesKeepFontsAndTheToolsMenu) {
    WriteConfig("[common]\nlanguage=1\n");
    ProgramWindows& started = Show();
    EXPECT_TRUE(started.frmMain.N_Tools->menuAction()->isVisible());
    EXPECT_FALSE(UsesJapaneseFont(started.frmMain.buttonConvert));
    EXPECT_FALSE(UsesJapaneseFont(started.frmPowerOffWindows.buttonNo));
}

} // namespace
} // namespace velmora::test
