// What a desktop program is expected to have: the usual keys, an About box, the skin in use marked in
// its menu, and advice on each encoding list.
#include "app/UnitMain.h"

#include "app/AboutText.h"
#include "app/SkinChoice.h"
#include "app/Unit_common.h"
#include "platform/ErrorReport.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/MessageBoxTitle.h"
#include "platform/qt/ModalQuestions.h"
#include "skin/TsuiSkinEngine.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>

namespace velmora {

void TfrmMain::CreateConventions() {
    // The keys themselves: without a desktop theme Qt's standard keys may be empty.
    N1_1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    // Exit closes the window, which asks first during a run.
    N1_10->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    N_LocalHelp->setShortcut(QKeySequence(Qt::Key_F1));

    auto* skins = new QActionGroup(N_Skin);
    // Optional: a skin file that could not be read leaves none of them in use.
    skins->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* item : N_SkinItems) {
        item->setCheckable(true);
        skins->addAction(item);
    }
    N_Skin->addSeparator();
    N_SkinDefault = N_Skin->addAction(QStringLiteral("Default Look"));
    N_SkinDefault->setObjectName(QStringLiteral("N_SkinDefault"));
    connect(N_Skin, &QMenu::aboutToShow, this, [this] { MarkSkinInUse(); });

    N_Help->addSeparator();
    N_About = N_Help->addAction(QStringLiteral("About Velmora"));
    N_About->setObjectName(QStringLiteral("N_About"));
    connect(N_SkinDefault, &QAction::triggered, this, Guarded([this] { N_SkinClick(kDefaultSkinIndex); }));
    connect(N_About, &QAction::triggered, this, Guarded([this] { N_AboutClick(); }));
}

void TfrmMain::MarkSkinInUse() {
    const std::string& inUse = common_.suiSkinEngine->SkinFile();
    for (size_t i = 0; i < N_SkinItems.size(); ++i) {
        const std::string name = std::string("/") + SkinFileName(static_cast<int32_t>(i) + 1);
        N_SkinItems[i]->setChecked(inUse.size() >= name.size() &&
                                   inUse.compare(inUse.size() - name.size(), name.size(), name) == 0);
    }
}

void TfrmMain::LoadConventionTexts(const LanguageFile& texts) {
    const char* section = "frmMain";
    N_SkinDefault->setText(texts.Text(section, "N_SkinDefault"));
    N_About->setText(texts.Text(section, "N_About"));
    StringAboutTitle = texts.Text(section, "StringAboutTitle");
    aboutTexts_ = {texts.Text(section, "msgAboutVersion"), texts.Text(section, "msgAboutLicence"),
                   texts.Text(section, "msgAboutLibraries"), texts.Text(section, "StringAboutNoX264")};
    for (auto [list, key] : {std::pair{comboBoxVideoBitrate, "hintVideoBitrate"},
                             {comboBoxFrameRate, "hintFrameRate"},
                             {comboBoxVideoSize, "hintVideoSize"},
                             {comboBoxAudioBitrate, "hintAudioBitrate"},
                             {comboBoxSampleRate, "hintSampleRate"},
                             {comboBoxChannel, "hintChannel"}})
        list->setToolTip(texts.Text(section, key));
}

QString TfrmMain::AboutBoxText() const {
    return AboutText(aboutTexts_, QStringLiteral(VELMORA_VERSION), LoadedLibraryVersions());
}

void TfrmMain::N_AboutClick() {
    QMessageBox box(QMessageBox::NoIcon, StringAboutTitle, AboutBoxText(), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("aboutBox"));
    box.setIconPixmap(windowIcon().pixmap(64, 64));
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    FitTitle(box);
    questions_->RunDialog(box);
}

} // namespace velmora
