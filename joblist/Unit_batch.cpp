#include "joblist/Unit_batch.h"

#include "joblist/FolderPicker.h"
#include "joblist/NewFolderPrompt.h"
#include "platform/AsciiText.h"
#include "platform/ErrorReport.h"
#include "platform/qt/JapaneseFont.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/PathText.h"
#include "platform/qt/WindowPlacement.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace velmora {

TFrmBatchAdd::TFrmBatchAdd(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FrmBatchAdd"));
    setWindowTitle(QStringLiteral("Add Files"));
    setFixedSize(600, 466);

    labelDirectory = new QLabel(QStringLiteral("Directory"), this);
    labelDirectory->setObjectName(QStringLiteral("labelDirectory"));
    labelDirectory->setGeometry(8, 8, 584, 16);

    ShellTreeView = new FolderPicker(this);
    ShellTreeView->setObjectName(QStringLiteral("ShellTreeView"));
    ShellTreeView->setGeometry(8, 26, 584, 340);
    ShellTreeView->OnChosen = [this] { RunGuarded([this] { buttonOKClick(); }); };
    ShellTreeView->OnCancelled = [this] { reject(); };

    checkBoxIsSubDirectorie = new QCheckBox(QStringLiteral("Include Sub Directorie"), this);
    checkBoxIsSubDirectorie->setObjectName(QStringLiteral("checkBoxIsSubDirectorie"));
    checkBoxIsSubDirectorie->setGeometry(8, 372, 584, 20);

    labelFileNameExt = new QLabel(QStringLiteral("扩展名"), this);
    labelFileNameExt->setObjectName(QStringLiteral("labelFileNameExt"));
    labelFileNameExt->setGeometry(8, 402, 64, 16);

    editExt = new QLineEdit(QStringLiteral("*"), this);
    editExt->setObjectName(QStringLiteral("editExt"));
    editExt->setGeometry(76, 399, 60, 21);

    labelNoticeFileNameExt = new QLabel(QStringLiteral("(*为任意，其它请输入，如avi等)"), this);
    labelNoticeFileNameExt->setObjectName(QStringLiteral("labelNoticeFileNameExt"));
    labelNoticeFileNameExt->setGeometry(142, 402, 450, 16);

    buttonOK = new QPushButton(QStringLiteral("&OK"), this);
    buttonOK->setObjectName(QStringLiteral("buttonOK"));
    buttonOK->setGeometry(422, 432, 80, 25);
    buttonOK->setDefault(true);

    buttonCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    buttonCancel->setObjectName(QStringLiteral("buttonCancel"));
    buttonCancel->setGeometry(512, 432, 80, 25);

    buttonNewFolder = new QPushButton(QStringLiteral("New Folder..."), this);
    buttonNewFolder->setObjectName(QStringLiteral("buttonNewFolder"));
    buttonNewFolder->setGeometry(8, 432, 120, 25);
    buttonNewFolder->setAutoDefault(false);
    newFolder_ = std::make_unique<NewFolderPrompt>(this, ShellTreeView, buttonNewFolder);
    connect(buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(buttonOK, &QPushButton::clicked, this, Guarded([this] { buttonOKClick(); }));
}

TFrmBatchAdd::~TFrmBatchAdd() = default;

// Showing it again while open keeps it where the user moved it.
void TFrmBatchAdd::showEvent(QShowEvent* event) {
    if (opening_.Opens(*event))
        CentreOnParent(*this);
    QDialog::showEvent(event);
}

void TFrmBatchAdd::hideEvent(QHideEvent* event) {
    opening_.Closed(*event);
    QDialog::hideEvent(event);
}

void TFrmBatchAdd::buttonOKClick() {
    const QString folder = ShellTreeView->SelectedPath();
    if (folder.isEmpty())
        return;
    hide();
    // Blanks and control characters at either end go, as the extension box has always trimmed them.
    if (OnBatchAdd)
        OnBatchAdd(PathFromText(folder), checkBoxIsSubDirectorie->isChecked(),
                   TrimControlBytes(PathFromText(editExt->text())));
}

void TFrmBatchAdd::LoadLanguageTexts(const LanguageFile& texts) {
    const char* section = "frmBatchAdd";
    setWindowTitle(texts.Text(section, "caption"));
    labelDirectory->setText(texts.Text(section, "labelDirectory"));
    checkBoxIsSubDirectorie->setText(texts.Text(section, "checkBoxIsSubDirectorie"));
    labelFileNameExt->setText(texts.Text(section, "labelFileNameExt"));
    labelNoticeFileNameExt->setText(texts.Text(section, "labelNoticeFileNameExt"));
    buttonOK->setText(texts.Text(section, "buttonOK"));
    buttonCancel->setText(texts.Text(section, "buttonCancel"));
    newFolder_->LoadLanguageTexts(texts, section);
}

void TFrmBatchAdd::ApplyJapaneseCharset() {
    for (QWidget* control :
         std::initializer_list<QWidget*>{labelDirectory, labelFileNameExt, labelNoticeFileNameExt,
                                         buttonCancel, buttonOK, buttonNewFolder, checkBoxIsSubDirectorie})
        UseJapaneseFont(control);
}

} // namespace velmora
