// The job list's commands on the main window: adding by dialog, drop and folder scan, removing,
// clearing, moving, and choosing the output folder.
#include "app/UnitMain.h"
#include "app/UnitMainRunView.h"

#include "engine/ConversionRun.h"
#include "joblist/EmptyListHint.h"
#include "joblist/FileOpenFilters.h"
#include "joblist/FolderPicker.h"
#include "joblist/FolderScan.h"
#include "joblist/JobList.h"
#include "joblist/RepaintPacer.h"
#include "joblist/Unit_batch.h"
#include "joblist/Unit_common_directory.h"
#include "platform/ErrorReport.h"
#include "platform/FileSystem.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/PathText.h"

#include <QAction>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace velmora {

namespace {

bool CarriesLocalFiles(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return true;
    return false;
}

} // namespace

void TfrmMain::ConnectJobListHandlers() {
    connect(ActionFileAdd, &QAction::triggered, this, Guarded([this] { ActionFileAddExecute(); }));
    connect(ActionFileBatchAdd, &QAction::triggered, this, Guarded([this] { ActionFileBatchAddExecute(); }));
    connect(ActionFileDelete, &QAction::triggered, this, Guarded([this] { ActionFileDeleteExecute(); }));
    connect(ActionFileClearAll, &QAction::triggered, this, Guarded([this] { ActionFileClearAllExecute(); }));
    connect(ActionFileMoveUp, &QAction::triggered, this, Guarded([this] { ActionFileMoveUpExecute(); }));
    connect(ActionFileMoveDown, &QAction::triggered, this, Guarded([this] { ActionFileMoveDownExecute(); }));
    connect(ActionSetDirectory, &QAction::triggered, this, Guarded([this] { ActionSetDirectoryExecute(); }));
    emptyListHint_ = new EmptyListHint(listViewFiles);
    // The last run's summary tells of a list that has changed since; a run's own removals keep it.
    const auto listChanged = [this] {
        if (runView_ != nullptr && !conversion_->IsRunActive())
            runView_->ClearRunSummary();
    };
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(listViewFiles->model(), signal, this, listChanged);
    connect(listViewFiles->itemDelegate(), &QAbstractItemDelegate::commitData, this, listChanged);
    for (QAction* move : {ActionFileMoveUp, ActionFileMoveDown})
        connect(move, &QAction::triggered, this, listChanged);
}

void TfrmMain::SetQuestions(ModalQuestions* questions) {
    questions_ = questions != nullptr ? questions : ownQuestions_.get();
}

void TfrmMain::AddFile(const std::string& path) {
    jobList_->AddFile(path);
}

void TfrmMain::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void TfrmMain::AddFolderFiles(const std::string& folder, bool recurse, const std::string& extension) {
    RepaintPacer pacer;
    FolderScanSink sink;
    sink.addFile = [this](const std::string& path) { AddFile(path); };
    sink.afterEntry = [this, &pacer] {
        if (pacer.Due())
            ProcessPendingEvents();
    };
    sink.cancelled = [this] { return closing_; };
    velmora::AddFolderFiles(folder, recurse, extension, sink);
}

void TfrmMain::ActionFileAddExecute() {
    const QStringList filters = FileOpenFilters(StringFilterNames);
    QString selected = filters.value(openFilter_, filters.first());
    const QStringList chosen = questions_->ChooseFilesToOpen(this, StringOpenVideos, filters, selected);
    if (chosen.isEmpty())
        return;
    openFilter_ = std::max<int>(0, static_cast<int>(filters.indexOf(selected)));
    QStringList refused;
    QStringList notConverted;
    for (const QString& file : chosen) {
        if (file.isEmpty())
            break;
        // The dialog gives names as text only: one it cannot give back exactly is refused, not guessed.
        if (!TextKeepsFileName(file))
            refused << file;
        else if (!jobList_->AddFile(PathFromText(file)))
            notConverted << file;
    }
    QStringList paragraphs;
    if (!notConverted.isEmpty())
        paragraphs << msgNotConverted + QStringLiteral("\n\n") + notConverted.join('\n');
    if (!refused.isEmpty())
        paragraphs << msgNameNotKept + QStringLiteral("\n\n") + refused.join('\n');
    if (!paragraphs.isEmpty())
        questions_->ShowWarning(this, ApplicationTitle(), paragraphs.join(QStringLiteral("\n\n")));
}

void TfrmMain::ActionFileBatchAddExecute() {
    TFrmBatchAdd* dialog = dialogs_.FrmBatchAdd;
    if (dialog == nullptr)
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TfrmMain::ActionFileDeleteExecute() {
    jobList_->RemoveSelected();
}

void TfrmMain::ActionFileClearAllExecute() {
    if (questions_->ConfirmOkCancel(this, ApplicationTitle(), msgClearAll))
        jobList_->Clear();
}

void TfrmMain::ActionFileMoveUpExecute() {
    jobList_->MoveSelected(-1);
}

void TfrmMain::ActionFileMoveDownExecute() {
    jobList_->MoveSelected(+1);
}

void TfrmMain::ActionSetDirectoryExecute() {
    TFrmDirectory* dialog = dialogs_.FrmDirectory;
    if (dialog == nullptr)
        return;
    dialog->ShellTreeView1->SelectPath(editOutputFolder->text());
    if (dialog->exec() == QDialog::Accepted)
        editOutputFolder->setText(dialog->ChosenDirectory);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (CarriesLocalFiles(event->mimeData()))
        event->acceptProposedAction();
}

void TfrmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (CarriesLocalFiles(event->mimeData()))
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
    if (!CarriesLocalFiles(event->mimeData()))
        return;
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(PathFromLocalFileUrl(url));
    event->acceptProposedAction();
    QueueOpenedFiles(std::move(paths), false);
}

} // namespace velmora
