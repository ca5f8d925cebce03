// The main window's side of the preview: the command that opens it and the choices it follows.
#include "app/UnitMain.h"

#include "app/Unit_common.h"
#include "dialogs/PreviewWindow.h"
#include "engine/EncoderCommandLines.h"
#include "engine/EncodingSettings.h"
#include "joblist/JobList.h"
#include "platform/ErrorReport.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/WindowPlacement.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QShortcut>
#include <QTableWidget>

namespace velmora {

void TfrmMain::CreatePreviewCommand() {
    ActionPreview = new QAction(QStringLiteral("Preview..."), this);
    ActionPreview->setObjectName(QStringLiteral("ActionPreview"));
    PopupMenu->addSeparator()->setObjectName(QStringLiteral("popMenuPreviewLine"));
    PopupMenu->addAction(ActionPreview);
    // A key of the window's, as Delete is the list's: the menus show no shortcuts.
    auto* previewKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(previewKey, &QShortcut::activated, ActionPreview, &QAction::trigger);
    connect(ActionPreview, &QAction::triggered, this, Guarded([this] { ActionPreviewExecute(); }));
    connect(listViewFiles, &QTableWidget::itemSelectionChanged, this, Guarded([this] { UpdatePreview(); }));
    // A learnt length or an edited path changes the entry's item.
    connect(listViewFiles, &QTableWidget::itemChanged, this, Guarded([this] { UpdatePreview(); }));
    connect(comboBoxVideoSize, &QComboBox::currentIndexChanged, this, Guarded([this] { UpdatePreview(); }));
}

void TfrmMain::ActionPreviewExecute() {
    if (!jobList_->SelectedIndex())
        return;
    if (previewWindow_ == nullptr) {
        previewWindow_ = new PreviewWindow(EncoderPath(common_.appDir), this);
        previewWindow_->LoadLanguageTexts(LanguageFile(common_.languageFile));
    }
    if (!previewWindow_->isVisible())
        PlaceBesideParent(*previewWindow_);
    previewWindow_->show();
    previewWindow_->raise();
    previewWindow_->activateWindow();
    UpdatePreview();
}

void TfrmMain::UpdatePreview() {
    const std::optional<int> index = jobList_->SelectedIndex();
    if (previewWindow_ == nullptr || !previewWindow_->isVisible() || !index)
        return;
    PreviewChoice choice;
    choice.source = jobList_->EntryText(*index);
    choice.duration = jobList_->EntryDuration(*index);
    choice.videoSize = VideoSizeText(comboBoxVideoSize->currentIndex());
    choice.cropBlackBars = checkBoxCropBlackBars->isChecked();
    choice.probedCrop = jobList_->EntryCrop(*index);
    choice.trackWords = EncoderTrackWords();
    previewWindow_->ShowChoice(choice);
}

void TfrmMain::LoadPreviewTexts(const LanguageFile& texts) {
    ActionPreview->setText(texts.Text("frmMain", "ActionPreview"));
    if (previewWindow_ != nullptr)
        previewWindow_->LoadLanguageTexts(texts);
}

} // namespace velmora
