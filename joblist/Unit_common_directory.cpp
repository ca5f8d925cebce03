#include "joblist/Unit_common_directory.h"

#include "joblist/FolderPicker.h"
#include "joblist/NewFolderPrompt.h"
#include "platform/qt/JapaneseFont.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/WindowPlacement.h"

#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace velmora {

TFrmDirectory::TFrmDirectory(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FrmDirectory"));
    setWindowTitle(QStringLiteral("Choose a directory"));
    setFixedSize(600, 430);

    LabelDirectory = new QLabel(QStringLiteral("Directory"), this);
    LabelDirectory->setObjectName(QStringLiteral("LabelDirectory"));
    LabelDirectory->setGeometry(8, 8, 584, 16);

    ShellTreeView1 = new FolderPicker(this);
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setGeometry(8, 26, 584, 360);
    ShellTreeView1->OnChosen = [this] { ButtonOKClick(); };
    ShellTreeView1->OnCancelled = [this] { reject(); };

    ButtonOK = new QPushButton(QStringLiteral("&OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setGeometry(422, 396, 80, 25);
    ButtonOK->setDefault(true);

    ButtonCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(512, 396, 80, 25);

    ButtonNewFolder = new QPushButton(QStringLiteral("New Folder..."), this);
    ButtonNewFolder->setObjectName(QStringLiteral("ButtonNewFolder"));
    ButtonNewFolder->setGeometry(8, 396, 120, 25);
    ButtonNewFolder->setAutoDefault(false);
    newFolder_ = std::make_unique<NewFolderPrompt>(this, ShellTreeView1, ButtonNewFolder);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonOK, &QPushButton::clicked, this, &TFrmDirectory::ButtonOKClick);
}

TFrmDirectory::~TFrmDirectory() = default;

void TFrmDirectory::showEvent(QShowEvent* event) {
    if (opening_.Opens(*event))
        CentreOnParent(*this);
    QDialog::showEvent(event);
}

void TFrmDirectory::hideEvent(QHideEvent* event) {
    opening_.Closed(*event);
    QDialog::hideEvent(event);
}

void TFrmDirectory::ButtonOKClick() {
    ChosenDirectory = ShellTreeView1->SelectedPath();
    // A typed path that is no folder keeps the dialog open, to be corrected.
    if (ChosenDirectory.isEmpty())
        ShellTreeView1->PathField()->setFocus();
    else
        accept();
}

void TFrmDirectory::reject() {
    ChosenDirectory.clear();
    QDialog::reject();
}

void TFrmDirectory::LoadLanguageTexts(const LanguageFile& texts) {
    const char* section = "frmDirectory";
    setWindowTitle(texts.Text(section, "caption"));
    // The key keeps its historical spelling; language files in use depend on it.
    LabelDirectory->setText(texts.Text(section, "labelDiretroy"));
    ButtonOK->setText(texts.Text(section, "buttonOK"));
    ButtonCancel->setText(texts.Text(section, "buttonCancel"));
    newFolder_->LoadLanguageTexts(texts, section);
}

void TFrmDirectory::ApplyJapaneseCharset() {
    for (QWidget* control :
         std::initializer_list<QWidget*>{LabelDirectory, ButtonCancel, ButtonOK, ButtonNewFolder})
        UseJapaneseFont(control);
}

} // namespace velmora
