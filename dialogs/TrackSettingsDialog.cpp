#include "dialogs/TrackSettingsDialog.h"

#include "engine/LanguageNames.h"
#include "platform/ErrorReport.h"
#include "platform/ProfileFile.h"
#include "platform/qt/JapaneseFont.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/WideChoiceList.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyleOptionGroupBox>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora {
namespace {

template <typename Control> Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// The label names its list, for the keyboard and for screen readers alike.
void Label(QLabel* label, QWidget* control, const QString& text) {
    label->setText(text);
    label->setBuddy(control);
    control->setAccessibleName(QString(text).remove(QLatin1Char('&')));
}

QString CodeOf(const QComboBox* list) {
    return list->currentData().toString();
}

// Where the style starts the first row, the ink of a title can still be: a Korean title's brackets,
// drawn in a CJK font, reach the last pixel row of the title's line.
void KeepRowsBelowTitle(QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    QStyle* style = box->style();
    const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const QFontMetrics metrics(box->font());
    const int baseline = title.top() + (title.height() - metrics.height()) / 2 + metrics.ascent();
    const int inkBottom = baseline + metrics.tightBoundingRect(box->title()).bottom();
    QMargins margins = box->layout()->contentsMargins();
    margins.setTop(std::max(style->pixelMetric(QStyle::PM_LayoutTopMargin, nullptr, box),
                            inkBottom + 1 - box->contentsRect().top()));
    box->layout()->setContentsMargins(margins);
}

} // namespace

TrackSettingsDialog::TrackSettingsDialog(QWidget* parent, const ProfileFile& config)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      config_(config) {
    setObjectName(QStringLiteral("frmTracks"));
    setWindowTitle(QStringLiteral("Sound and Subtitles"));

    groupBoxSound = Named(new QGroupBox(QStringLiteral("Sound"), this), "groupBoxSound");
    labelSoundFirst = Named(new QLabel(groupBoxSound), "labelSoundFirst");
    comboBoxSoundFirst = Named(new WideChoiceList(groupBoxSound), "comboBoxSoundFirst");
    labelSoundSecond = Named(new QLabel(groupBoxSound), "labelSoundSecond");
    comboBoxSoundSecond = Named(new WideChoiceList(groupBoxSound), "comboBoxSoundSecond");
    auto* sound = new QGridLayout(groupBoxSound);
    sound->addWidget(labelSoundFirst, 0, 0);
    sound->addWidget(comboBoxSoundFirst, 0, 1);
    sound->addWidget(labelSoundSecond, 1, 0);
    sound->addWidget(comboBoxSoundSecond, 1, 1);
    sound->setColumnStretch(1, 1);

    groupBoxSubtitles = Named(new QGroupBox(QStringLiteral("Subtitles"), this), "groupBoxSubtitles");
    radioSubtitlesNone =
        Named(new QRadioButton(QStringLiteral("&None"), groupBoxSubtitles), "radioSubtitlesNone");
    radioSubtitlesSource = Named(new QRadioButton(QStringLiteral("As the &video says"), groupBoxSubtitles),
                                 "radioSubtitlesSource");
    radioSubtitlesAlways =
        Named(new QRadioButton(QStringLiteral("Al&ways, in my language"), groupBoxSubtitles),
              "radioSubtitlesAlways");
    labelSubtitleFirst = Named(new QLabel(groupBoxSubtitles), "labelSubtitleFirst");
    comboBoxSubtitleFirst = Named(new WideChoiceList(groupBoxSubtitles), "comboBoxSubtitleFirst");
    labelSubtitleSecond = Named(new QLabel(groupBoxSubtitles), "labelSubtitleSecond");
    comboBoxSubtitleSecond = Named(new WideChoiceList(groupBoxSubtitles), "comboBoxSubtitleSecond");
    auto* subtitles = new QGridLayout(groupBoxSubtitles);
    subtitles->addWidget(radioSubtitlesNone, 0, 0, 1, 2);
    subtitles->addWidget(radioSubtitlesSource, 1, 0, 1, 2);
    subtitles->addWidget(radioSubtitlesAlways, 2, 0, 1, 2);
    subtitles->addWidget(labelSubtitleFirst, 3, 0);
    subtitles->addWidget(comboBoxSubtitleFirst, 3, 1);
    subtitles->addWidget(labelSubtitleSecond, 4, 0);
    subtitles->addWidget(comboBoxSubtitleSecond, 4, 1);
    subtitles->setColumnStretch(1, 1);

    ButtonOK = Named(new QPushButton(QStringLiteral("&OK"), this), "ButtonOK");
    ButtonOK->setDefault(true);
    ButtonCancel = Named(new QPushButton(QStringLiteral("&Cancel"), this), "ButtonCancel");
    // The size of the other dialogs' buttons.
    for (QPushButton* button : {ButtonOK, ButtonCancel})
        button->setMinimumSize(80, 25);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);

    auto* whole = new QVBoxLayout(this);
    whole->addWidget(groupBoxSound);
    whole->addWidget(groupBoxSubtitles);
    whole->addLayout(buttons);
    whole->setSizeConstraint(QLayout::SetFixedSize);

    Label(labelSoundFirst, comboBoxSoundFirst, QStringLiteral("&First choice:"));
    Label(labelSoundSecond, comboBoxSoundSecond, QStringLiteral("&Second choice:"));
    Label(labelSubtitleFirst, comboBoxSubtitleFirst, QStringLiteral("&My language:"));
    Label(labelSubtitleSecond, comboBoxSubtitleSecond, QStringLiteral("O&therwise:"));
    FillLanguages(comboBoxSoundFirst, fromTheVideo_);
    FillLanguages(comboBoxSoundSecond, noChoice_);
    FillLanguages(comboBoxSubtitleFirst, WindowLanguageItem());
    FillLanguages(comboBoxSubtitleSecond, noChoice_);

    for (QComboBox* list : {comboBoxSoundFirst, comboBoxSubtitleFirst})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabling(); });
    for (QRadioButton* mode : {radioSubtitlesNone, radioSubtitlesSource, radioSubtitlesAlways})
        connect(mode, &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
    connect(ButtonOK, &QPushButton::clicked, this, Guarded([this] { ButtonOKClick(); }));
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(comboBoxSoundFirst, comboBoxSoundSecond);
    setTabOrder(comboBoxSoundSecond, radioSubtitlesNone);
    setTabOrder(radioSubtitlesNone, comboBoxSubtitleFirst);
    setTabOrder(comboBoxSubtitleFirst, comboBoxSubtitleSecond);
    setTabOrder(comboBoxSubtitleSecond, ButtonOK);
    setTabOrder(ButtonOK, ButtonCancel);
}

void TrackSettingsDialog::LoadLanguageTexts(const LanguageFile& texts) {
    const char* section = "frmTracks";
    auto text = [&](const char* key) { return texts.Text(section, key); };
    setWindowTitle(text("caption"));
    groupBoxSound->setTitle(text("groupBoxSound"));
    groupBoxSubtitles->setTitle(text("groupBoxSubtitles"));
    for (QRadioButton* mode : {radioSubtitlesNone, radioSubtitlesSource, radioSubtitlesAlways})
        mode->setText(text(mode->objectName().toLatin1().constData()));
    Label(labelSoundFirst, comboBoxSoundFirst, text("labelSoundFirst"));
    Label(labelSoundSecond, comboBoxSoundSecond, text("labelSoundSecond"));
    Label(labelSubtitleFirst, comboBoxSubtitleFirst, text("labelSubtitleFirst"));
    Label(labelSubtitleSecond, comboBoxSubtitleSecond, text("labelSubtitleSecond"));
    fromTheVideo_ = text("StringFromTheVideo");
    noChoice_ = text("StringNoChoice");
    windowLanguageFormat_ = text("StringWindowLanguage");
    FillLanguages(comboBoxSoundFirst, fromTheVideo_);
    FillLanguages(comboBoxSoundSecond, noChoice_);
    FillLanguages(comboBoxSubtitleFirst, WindowLanguageItem());
    FillLanguages(comboBoxSubtitleSecond, noChoice_);
    ButtonOK->setText(text("ButtonOK"));
    ButtonCancel->setText(text("ButtonCancel"));
}

void TrackSettingsDialog::SetWindowLanguage(const std::string& code) {
    windowLanguage_ = code;
    comboBoxSubtitleFirst->setItemText(0, WindowLanguageItem());
}

QString TrackSettingsDialog::WindowLanguageItem() const {
    return windowLanguageFormat_.arg(QString::fromUtf8(OwnLanguageName(windowLanguage_)));
}

void TrackSettingsDialog::ApplyJapaneseCharset() {
    for (QWidget* control : findChildren<QWidget*>())
        UseJapaneseFont(control);
}

void TrackSettingsDialog::FillLanguages(QComboBox* list, const QString& firstItem) {
    const QString kept = CodeOf(list);
    list->blockSignals(true);
    list->clear();
    list->addItem(firstItem, QString());
    for (const NamedLanguage& language : OfferedLanguages())
        list->addItem(QString::fromUtf8(language.ownName), QString::fromLatin1(language.code));
    list->setCurrentIndex(std::max(0, list->findData(kept)));
    list->blockSignals(false);
}

void TrackSettingsDialog::ShowLanguages(QComboBox* first, QComboBox* second,
                                        const std::vector<std::string>& codes) {
    for (std::size_t slot = 0; slot < 2; ++slot) {
        QComboBox* list = slot == 0 ? first : second;
        const QString code =
            slot < codes.size() ? QString::fromStdString(StoredLanguageCode(codes[slot])) : QString();
        // A code set by hand that the lists do not offer is shown as it stands.
        if (list->findData(code) < 0)
            list->addItem(code, code);
        list->setCurrentIndex(list->findData(code));
    }
}

void TrackSettingsDialog::showEvent(QShowEvent* event) {
    if (opening_.Opens(*event)) {
        // The title's font and words may have changed since the last opening.
        KeepRowsBelowTitle(groupBoxSound);
        KeepRowsBelowTitle(groupBoxSubtitles);
        layout()->activate();
        CentreOnParent(*this);
        ButtonOK->setFocus();
        RunGuarded([this] { FormShow(); });
    }
    QDialog::showEvent(event);
}

void TrackSettingsDialog::hideEvent(QHideEvent* event) {
    opening_.Closed(*event);
    QDialog::hideEvent(event);
}

void TrackSettingsDialog::FormShow() {
    shown_ = CurrentPreferences ? CurrentPreferences() : ReadTrackPreferences(config_);
    ShowLanguages(comboBoxSoundFirst, comboBoxSoundSecond, shown_.audioLanguages);
    ShowLanguages(comboBoxSubtitleFirst, comboBoxSubtitleSecond, shown_.subtitleLanguages);
    (shown_.subtitles == 0   ? radioSubtitlesNone
     : shown_.subtitles == 2 ? radioSubtitlesAlways
                             : radioSubtitlesSource)
        ->setChecked(true);
    UpdateEnabling();
}

void TrackSettingsDialog::UpdateEnabling() {
    comboBoxSoundSecond->setEnabled(comboBoxSoundFirst->currentIndex() > 0);
    labelSoundSecond->setEnabled(comboBoxSoundSecond->isEnabled());
    const bool subtitles = !radioSubtitlesNone->isChecked();
    comboBoxSubtitleFirst->setEnabled(subtitles);
    labelSubtitleFirst->setEnabled(subtitles);
    comboBoxSubtitleSecond->setEnabled(subtitles && comboBoxSubtitleFirst->currentIndex() > 0);
    labelSubtitleSecond->setEnabled(comboBoxSubtitleSecond->isEnabled());
}

std::vector<std::string> TrackSettingsDialog::ChosenLanguages(const QComboBox* first, const QComboBox* second,
                                                              const std::vector<std::string>& stored) const {
    std::vector<std::string> chosen;
    if (!CodeOf(first).isEmpty()) {
        chosen.push_back(CodeOf(first).toStdString());
        if (!CodeOf(second).isEmpty() && CodeOf(second) != CodeOf(first))
            chosen.push_back(CodeOf(second).toStdString());
    }
    std::vector<std::string> shown;
    for (std::size_t slot = 0; slot < std::min<std::size_t>(2, stored.size()); ++slot)
        shown.push_back(StoredLanguageCode(stored[slot]));
    return chosen == shown ? stored : chosen;
}

TrackPreferences TrackSettingsDialog::Chosen() const {
    TrackPreferences chosen;
    chosen.audioLanguages = ChosenLanguages(comboBoxSoundFirst, comboBoxSoundSecond, shown_.audioLanguages);
    chosen.subtitles = radioSubtitlesNone->isChecked() ? 0 : radioSubtitlesAlways->isChecked() ? 2 : 1;
    chosen.subtitleLanguages =
        ChosenLanguages(comboBoxSubtitleFirst, comboBoxSubtitleSecond, shown_.subtitleLanguages);
    return chosen;
}

void TrackSettingsDialog::ButtonOKClick() {
    const TrackPreferences chosen = Chosen();
    const TrackPreferences before = shown_;
    shown_ = chosen;
    hide();
    if (chosen != before && OnChanged)
        OnChanged(chosen);
    WriteTrackPreferences(config_, before, chosen);
}

} // namespace velmora
