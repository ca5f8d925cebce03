// Files the desktop gives the main window: dropped on it, named on the command line, or handed over by
// a later start. One queue for all, so that they keep their order and each passes Add's rule.
#include "app/UnitMain.h"

#include "joblist/JobList.h"
#include "joblist/RepaintPacer.h"
#include "platform/ErrorReport.h"
#include "platform/FileSystem.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/PathText.h"

#include <QTimer>

#include <algorithm>
#include <utility>

namespace velmora {

void TfrmMain::QueueOpenedFiles(std::vector<std::string> paths, bool nameRefused) {
    for (std::string& path : paths)
        openedFiles_.push_back({std::move(path), nameRefused});
    // A drop's source waits for its handler: the names are added once the handler has returned.
    QTimer::singleShot(0, this, Guarded([this] { AddOpenedFiles(); }));
}

void TfrmMain::AddOpenedFiles() {
    // Files that arrive while earlier ones are being added join the same queue, in order.
    if (addingOpened_)
        return;
    addingOpened_ = true;
    RepaintPacer pacer;
    while (!openedFiles_.empty() && !closing_) {
        const OpenedFile file = std::move(openedFiles_.front());
        openedFiles_.pop_front();
        // Folders, pipes and devices are passed over like files of the wrong kind.
        const bool added = IsRegularFile(file.path) && jobList_->AddFile(file.path);
        const bool named =
            std::find(refusedToName_.begin(), refusedToName_.end(), file.path) != refusedToName_.end();
        if (!added && file.nameRefused && !named)
            refusedToName_.push_back(file.path);
        if (pacer.Due())
            ProcessPendingEvents();
    }
    openedFiles_.clear();
    addingOpened_ = false;
    if (refusedToName_.empty() || closing_)
        return;
    QStringList names;
    for (const std::string& path : std::exchange(refusedToName_, {}))
        names << TextFromPath(path);
    questions_->ShowWarning(this, ApplicationTitle(),
                            msgNotOpened + QStringLiteral("\n\n") + names.join('\n'));
}

} // namespace velmora
