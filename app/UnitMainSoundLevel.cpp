// The main window's side of the sound level: the list in the audio group, stored in config.ini when the
// user picks, and the words the video line gets for it.
#include "app/UnitMain.h"
#include "app/UnitMainRunView.h"
#include "app/Unit_common.h"
#include "engine/SoundLevelSetting.h"
#include "platform/ErrorReport.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/WideChoiceList.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

namespace velmora {

void TfrmMain::CreateSoundLevelControl() {
    labelSoundLevel = new QLabel(QStringLiteral("Loudness:"), GroupBoxSettingsAudio);
    labelSoundLevel->setObjectName(QStringLiteral("labelSoundLevel"));
    labelSoundLevel->setTextFormat(Qt::PlainText);
    labelSoundLevel->setGeometry(4, 70, 74, 16);
    comboBoxSoundLevel = new WideChoiceList(GroupBoxSettingsAudio);
    comboBoxSoundLevel->setObjectName(QStringLiteral("comboBoxSoundLevel"));
    comboBoxSoundLevel->setGeometry(80, 68, 105, 19);
    comboBoxSoundLevel->addItems(
        {QStringLiteral("As recorded"), QStringLiteral("Same loudness"), QStringLiteral("Evened")});
    comboBoxSoundLevel->setCurrentIndex(static_cast<int>(SoundLevel::SameLoudness));
    labelSoundLevel->setBuddy(comboBoxSoundLevel);
    // Only the user's pick is stored: a start that changes nothing leaves config.ini as it was.
    connect(comboBoxSoundLevel, &QComboBox::activated, this, [this](int index) {
        RunGuarded([&] { WriteSoundLevel(common_.Config(), static_cast<SoundLevel>(index)); });
    });
}

void TfrmMain::RestoreSoundLevelChoice() {
    const QSignalBlocker quiet(comboBoxSoundLevel);
    comboBoxSoundLevel->setCurrentIndex(static_cast<int>(ReadSoundLevel(common_.Config())));
}

void TfrmMain::LoadSoundLevelTexts(const LanguageFile& texts) {
    const char* section = "frmMain";
    labelSoundLevel->setText(texts.Text(section, "labelSoundLevel"));
    const char* items[] = {"StringSoundAsRecorded", "StringSoundSame", "StringSoundEvened"};
    for (int index = 0; index < 3; ++index)
        comboBoxSoundLevel->setItemText(index, texts.Text(section, items[index]));
    comboBoxSoundLevel->setToolTip(texts.Text(section, "hintSoundLevel"));
    comboBoxSoundLevel->setAccessibleName(QString(labelSoundLevel->text()).remove(QLatin1Char('&')));
}

std::vector<std::string> TfrmMain::RunView::EncoderSoundWords() const {
    // The window's choice now, as the six encoding lists are read.
    return SoundLevelWords(static_cast<SoundLevel>(window_.comboBoxSoundLevel->currentIndex()));
}

} // namespace velmora
