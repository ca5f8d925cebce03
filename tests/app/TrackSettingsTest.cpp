#include "app/SkinChoice.h"
#include "joblist/JobList.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velmora::test {
namespace {

class TrackSettings : public ProgramFolderTest {
protected:
    TrackSettingsDialog& Open() {
        if (!windows)
            Show();
        windows->frmMain.N_Tracks->trigger();
        return windows->frmTracks;
    }
    std::string Config() const {
        return PathExists(folder / "config.ini") ? ReadTextFile(folder / "config.ini") : "";
    }
    static void Choose(QComboBox* list, const char* code) {
        list->setCurrentIndex(list->findData(QString::fromLatin1(code)));
    }
};

TEST_F(TrackSettings, TheDialogShowsTheStoredPreferencesAndWritesOnlyOnOk) {
    using Mode = QRadioButton* TrackSettingsDialog::*;
    // Stored, then the choices shown: first and second sound, first subtitles, subtitle mode.
    const std::vector<std::tuple<std::string, QString, QString, QString, Mode>> cases{
        {"", "", "", "", &TrackSettingsDialog::radioSubtitlesSource},
        {"audioLanguages=ja,eng\nsubtitles=2\nsubtitleLanguages=zho\n", "jpn", "eng", "chi",
         &TrackSettingsDialog::radioSubtitlesAlways},
        {"audioLanguages=xyz\nsubtitles=0\nsubtitleLanguages=fr!\n", "xyz", "", "",
         &TrackSettingsDialog::radioSubtitlesNone},
    };
    for (const auto& [stored, soundFirst, soundSecond, subtitleFirst, mode] : cases) {
        SCOPED_TRACE(stored);
        WriteConfig("[setting]\n" + stored);
        windows.reset();
        TrackSettingsDialog& dialog = Open();
        EXPECT_EQ(dialog.comboBoxSoundFirst->currentData().toString(), soundFirst);
        EXPECT_EQ(dialog.comboBoxSoundSecond->currentData().toString(), soundSecond);
        EXPECT_EQ(dialog.comboBoxSoundSecond->isEnabled(), !soundFirst.isEmpty());
        EXPECT_EQ(dialog.comboBoxSubtitleFirst->currentData().toString(), subtitleFirst);
        EXPECT_TRUE((dialog.*mode)->isChecked());
        EXPECT_EQ(dialog.comboBoxSubtitleFirst->isEnabled(), !dialog.radioSubtitlesNone->isChecked());
        const std::string before = Config();
        QTest::keyClick(dialog.radioSubtitlesSource, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(Config(), before) << "an unchanged OK keeps what was written by hand";
    }
    TrackSettingsDialog& dialog = Open();
    const std::string before = Config();
    Choose(dialog.comboBoxSoundFirst, "kor");
    dialog.radioSubtitlesSource->setChecked(true);
    QTest::keyClick(dialog.radioSubtitlesSource, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Config(), before) << "Esc cancels";
    Open();
    EXPECT_EQ(dialog.comboBoxSoundFirst->currentData().toString(), QStringLiteral("xyz")) << "reloaded";
    Choose(dialog.comboBoxSoundFirst, "kor");
    Choose(dialog.comboBoxSoundSecond, "jpn");
    dialog.radioSubtitlesSource->setChecked(true);
    QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    const ProfileFile config(folder / "config.ini");
    EXPECT_EQ(config.ReadString("setting", "audioLanguages", ""), "kor,jpn");
    EXPECT_EQ(config.ReadString("setting", "subtitles", ""), "1");
    EXPECT_EQ(config.ReadString("setting", "subtitleLanguages", ""), "fr!") << "not changed in the dialog";
}

TEST_F(TrackSettings, AStartWritesNothingAndTheDialogFollowsTheLanguage) {
    TrackSettingsDialog& dialog = Open();
    for (const char* key : {"audioLanguages", "subtitles"})
        EXPECT_EQ(Config().find(key), std::string::npos)
            << "neither the start nor the opening writes " << key;
    EXPECT_TRUE(dialog.ButtonOK->isDefault());
    EXPECT_EQ(dialog.focusWidget(), dialog.ButtonOK);
    EXPECT_EQ(dialog.comboBoxSoundFirst->accessibleName(), QStringLiteral("First choice:"));
    EXPECT_EQ(dialog.comboBoxSubtitleFirst->itemText(0), QStringLiteral("The program's language (English)"));
    EXPECT_EQ(dialog.comboBoxSoundFirst->itemText(dialog.comboBoxSoundFirst->findData(QStringLiteral("chi"))),
              QStringLiteral("中文"));
    windows->frmMain.N_LanguageClick(3);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("音声と字幕"));
    EXPECT_EQ(dialog.radioSubtitlesAlways->text(), QStringLiteral("常に表示、自分の言語で(&W)"));
    EXPECT_EQ(dialog.comboBoxSoundSecond->accessibleName(), QStringLiteral("第2候補(S)："));
    EXPECT_EQ(dialog.comboBoxSubtitleFirst->itemText(0), QStringLiteral("表示言語と同じ（日本語）"));
    EXPECT_EQ(windows->frmMain.N_Tracks->text(), QStringLiteral("音声と字幕(&B)..."));
}

TEST_F(TrackSettings, ChoicesThatCannotBeStoredStillHoldForConvertAndThePreview) {
    TfrmMain& frmMain = Show().frmMain;
    // Another process holds config.ini's lock: a second open description's lock conflicts with it.
    const int held = ::open((folder / "config.ini.lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const std::vector<std::string> unwritten{"Unable to write to " + folder / "config.ini."};
    frmMain.checkBoxCropBlackBars->click();
    EXPECT_EQ(frmMain.EncoderCropWords(), std::vector<std::string>({"-crop", "off"}));
    EXPECT_EQ(errors.shown, unwritten);
    errors.shown.clear();
    Open().radioSubtitlesNone->setChecked(true);
    QTest::mouseClick(windows->frmTracks.ButtonOK, Qt::LeftButton);
    EXPECT_EQ(frmMain.EncoderTrackWords(), std::vector<std::string>({"-subs", "0"}));
    EXPECT_EQ(errors.shown, unwritten);
    ::close(held);
}

TEST_F(TrackSettings, EachEntrySaysWhatTheEncoderWillUseAndIsAskedAgainAfterAChange) {
    ASSERT_EQ(symlink(FAKE_ENCODER, (folder / "libq7z").c_str()), 0);
    WriteTextFile(folder / "film.avi",
                  "probe=duration_60.000 probe=sound_1_jpn_default probe=subtitles_file_und_/v/"
                  "film.en.srt probe=note_Sidecar_'film.fr.srt'_could_not_be_read");
    TfrmMain& frmMain = Show().frmMain;
    frmMain.AddFile(folder / "film.avi");
    auto answered = [&] {
        return QTest::qWaitFor([&] { return !frmMain.Jobs().DurationsPending(); }, 20000);
    };
    ASSERT_TRUE(answered());
    EXPECT_EQ(frmMain.Jobs().EntryDuration(0), 60.0);
    const QString told = QStringLiteral("Sound: 日本語 (default) · Subtitles: film.en.srt (burned "
                                        "in)\nSidecar 'film.fr.srt' could not be read");
    EXPECT_EQ(frmMain.listViewFiles->item(0, 0)->toolTip(),
              QString::fromStdString(folder / "film.avi\n") + told);

    TrackSettingsDialog& dialog = Open();
    dialog.radioSubtitlesAlways->setChecked(true);
    QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    ASSERT_TRUE(answered());
    frmMain.N_LanguageClick(3);
    ASSERT_TRUE(answered());
    EXPECT_EQ(frmMain.Jobs().EntryDuration(0), 60.0);
    EXPECT_EQ(
        frmMain.Jobs().EntryTracks(0),
        QStringLiteral(
            "音声：日本語 (既定) · 字幕：film.en.srt（映像に焼き込み）\nSidecar 'film.fr.srt' could not "
            "be read"));
    const std::string calls = ReadTextFile(folder / "calls.log");
    // Appended: GCC 12 at -O3 mistakes "\t" + path for an overlapping copy.
    const std::string source = std::string("\t").append(folder / "film.avi\n");
    EXPECT_NE(calls.find("\tprobe\tplaceholder:no\t-probe" + source), std::string::npos) << calls;
    EXPECT_NE(calls.find("\t-probe\t-subs\t2\t-slang\teng" + source), std::string::npos) << calls;
    EXPECT_NE(calls.find("\t-probe\t-subs\t2\t-slang\tjpn\t-uilang\tjpn" + source), std::string::npos)
        << "the window's language";
    EXPECT_EQ(frmMain.EncoderTrackWords(),
              std::vector<std::string>({"-subs", "2", "-slang", "jpn", "-uilang", "jpn"}));
}

// In every skin a subtitle choice looks like a choice of one: a round mark, whose corners show what
// lies behind it rather than its frame, with a dot in its middle when chosen.
TEST(SubtitleChoices, LookLikeRadioButtonsInEverySkin) {
    for (int32_t skin = 1; skin <= kSkinCount; ++skin) {
        QWidget box;
        box.setStyleSheet(QString::fromStdString(
            ReadTextFile(std::string(VELMORA_SOURCE_DIR) + "/resources/skins/" + SkinFileName(skin))));
        auto* choice = new QRadioButton(QStringLiteral("Always"), &box);
        choice->setChecked(true);
        choice->adjustSize();
        QStyleOptionButton option;
        option.initFrom(choice);
        const QRect mark = choice->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, choice);
        const QImage picture = choice->grab().toImage();
        const QPoint middle = mark.center();
        EXPECT_TRUE(picture.pixelColor(mark.topLeft()) != picture.pixelColor(middle.x(), mark.top()) &&
                    picture.pixelColor(middle) != picture.pixelColor(middle.x(), mark.top() + 2))
            << SkinFileName(skin) << ": a square mark or no dot";
    }
}

} // namespace
} // namespace velmora::test
