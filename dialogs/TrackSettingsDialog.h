#pragma once

#include "engine/TrackPreferences.h"
#include "platform/qt/WindowPlacement.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velmora {

class LanguageFile;
class ProfileFile;

// "Sound and subtitles": the languages preferred for the sound, and whether and in which languages
// subtitles are burned in. Modeless; every opening shows the preferences in force, OK writes only
// what the user changed.
class TrackSettingsDialog : public QDialog {
    Q_OBJECT

public:
    TrackSettingsDialog(QWidget* parent, const ProfileFile& config);

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();
    // The code of the window's language, which an empty subtitle list stands for.
    void SetWindowLanguage(const std::string& code);

    // The preferences in force, which the dialog shows when it opens; config.ini's when unset.
    std::function<TrackPreferences()> CurrentPreferences;
    // After OK with a change, before it is stored: the change holds even where it cannot be stored.
    std::function<void(const TrackPreferences&)> OnChanged;

    QGroupBox* groupBoxSound;
    QLabel* labelSoundFirst;
    QComboBox* comboBoxSoundFirst;
    QLabel* labelSoundSecond;
    QComboBox* comboBoxSoundSecond;
    QGroupBox* groupBoxSubtitles;
    QRadioButton* radioSubtitlesNone;
    QRadioButton* radioSubtitlesSource;
    QRadioButton* radioSubtitlesAlways;
    QLabel* labelSubtitleFirst;
    QComboBox* comboBoxSubtitleFirst;
    QLabel* labelSubtitleSecond;
    QComboBox* comboBoxSubtitleSecond;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormShow();
    void ButtonOKClick();
    // The second choices and the subtitle languages are offered only where they matter.
    void UpdateEnabling();
    // Fills the list with the first item (an empty code) and the languages, keeping the choice.
    void FillLanguages(QComboBox* list, const QString& firstItem);
    void ShowLanguages(QComboBox* first, QComboBox* second, const std::vector<std::string>& codes);
    // The two lists' choice; the stored list when they still show it, so that a longer list or an
    // alias written by hand survives an unchanged OK.
    std::vector<std::string> ChosenLanguages(const QComboBox* first, const QComboBox* second,
                                             const std::vector<std::string>& stored) const;
    TrackPreferences Chosen() const;
    // "The program's language (English)": what an empty subtitle list stands for.
    QString WindowLanguageItem() const;

    const ProfileFile& config_;
    OpeningWatch opening_;
    TrackPreferences shown_;
    std::string windowLanguage_ = "eng";
    QString fromTheVideo_ = QStringLiteral("As the video says");
    QString noChoice_ = QStringLiteral("None");
    QString windowLanguageFormat_ = QStringLiteral("The program's language (%1)");
};

} // namespace velmora
