// The main window's side of the kept queue: restoring the list at start, writing it after every change,
// the pair a run is writing, and the list's commands for converted entries.
#include "app/UnitMain.h"
#include "app/UnitMainRunView.h"

#include "app/KeptQueueStore.h"
#include "app/SettingsFolder.h"
#include "app/Unit_common.h"
#include "engine/ConversionRun.h"
#include "joblist/JobList.h"
#include "platform/ErrorReport.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/PathText.h"

#include <QAction>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>

namespace velmora {

void TfrmMain::CreateQueueCommands() {
    queueTexts_ = std::make_unique<KeptQueueTexts>();
    ActionConvertAgain = new QAction(this);
    ActionRemoveConverted = new QAction(this);
    ActionConvertAgain->setObjectName(QStringLiteral("ActionConvertAgain"));
    ActionRemoveConverted->setObjectName(QStringLiteral("ActionRemoveConverted"));
    PopupMenu->addSeparator()->setObjectName(QStringLiteral("popMenuQueue"));
    PopupMenu->addAction(ActionConvertAgain);
    PopupMenu->addAction(ActionRemoveConverted);
    connect(ActionConvertAgain, &QAction::triggered, this, Guarded([this] { ActionConvertAgainExecute(); }));
    connect(ActionRemoveConverted, &QAction::triggered, this,
            Guarded([this] { ActionRemoveConvertedExecute(); }));
    keptQueue_ =
        std::make_unique<KeptQueueStore>(QueueFolder(common_.appDir), [this] { return KeptQueueNow(); });
    keptQueue_->onWriteFailed = [this](int error) {
        questions_->ShowWarning(
            this, ApplicationTitle(),
            queueTexts_->msgQueueNotKept.arg(QString::fromStdString(OSErrorMessage(error))) +
                QStringLiteral("\n\n") + TextFromPath(keptQueue_->FilePath()));
    };
}

void TfrmMain::LoadQueueTexts(const LanguageFile& texts) {
    auto text = [&](const char* key) { return texts.Text("KeptQueue", key); };
    ActionConvertAgain->setText(text("ActionConvertAgain"));
    ActionRemoveConverted->setText(text("ActionRemoveConverted"));
    KeptQueueTexts& own = *queueTexts_;
    for (auto [member, key] : {std::pair{&own.StringOutcomeMissing, "StringOutcomeMissing"},
                               {&own.msgOutcomeMissing, "msgOutcomeMissing"},
                               {&own.msgQueueDamaged, "msgQueueDamaged"},
                               {&own.msgQueueLost, "msgQueueLost"},
                               {&own.msgQueueOtherWindow, "msgQueueOtherWindow"},
                               {&own.msgQueueNotKept, "msgQueueNotKept"},
                               {&own.msgQueueInterrupted, "msgQueueInterrupted"},
                               {&own.msgQueueInterruptedKept, "msgQueueInterruptedKept"},
                               {&own.msgConvertAllAgain, "msgConvertAllAgain"},
                               {&own.msgReasonSourceGone, "msgReasonSourceGone"},
                               {&own.msgReasonOutputGone, "msgReasonOutputGone"},
                               {&own.msgOutcomeReplacedPart, "msgOutcomeReplacedPart"}})
        *member = text(key);
}

void TfrmMain::RestoreKeptQueue() {
    KeptQueueStore::Opening opening = keptQueue_->Open();
    listViewFiles->setUpdatesEnabled(false);
    EntryOutcomes& outcomes = conversion_->Outcomes();
    for (KeptEntry& entry : opening.queue.entries) {
        const int index = jobList_->Count();
        jobList_->RestoreEntry(entry.source, entry.duration);
        const EntryId id = jobList_->IdOfEntry(index);
        outcomes.SetParts(id, std::move(entry.parts));
        if (entry.outcome) {
            entry.outcome->entry = id;
            outcomes.Set(*entry.outcome);
            runView_->ShowEntryOutcome(index, *entry.outcome);
        }
        if ((!entry.outcome || entry.outcome->result != EntryResult::Converted) && !FileExists(entry.source))
            runView_->ShowEntryMissing(index);
    }
    listViewFiles->setUpdatesEnabled(true);
    // From here on, every change of the list is written.
    QAbstractItemModel* model = listViewFiles->model();
    // Bound to the store, which goes before the list: the list's last signals find no one.
    KeptQueueStore* store = keptQueue_.get();
    const auto changed = [store] { store->Changed(); };
    connect(model, &QAbstractItemModel::rowsInserted, store, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, store, changed);
    connect(model, &QAbstractItemModel::rowsMoved, store, changed);
    connect(model, &QAbstractItemModel::dataChanged, store, changed);
    connect(model, &QAbstractItemModel::modelReset, store, changed);
    // Written at once: a missing file then means a lost one, the settled pair's record goes and a
    // damaged file is replaced.
    keptQueue_->WriteNow();

    const QString file = TextFromPath(keptQueue_->FilePath());
    QString message;
    using Problem = KeptQueueStore::Problem;
    switch (opening.problem) {
    case Problem::Damaged:
        message = queueTexts_->msgQueueDamaged + QStringLiteral("\n\n") + file;
        break;
    case Problem::Lost:
        message = queueTexts_->msgQueueLost + QStringLiteral("\n\n") + file;
        break;
    case Problem::HeldElsewhere:
        message = queueTexts_->msgQueueOtherWindow;
        break;
    case Problem::NotWritable:
        message = queueTexts_->msgQueueNotKept.arg(QString::fromStdString(OSErrorMessage(opening.error))) +
                  QStringLiteral("\n\n") + file;
        break;
    case Problem::None:
        break;
    }
    // A video its encoder finished is simply converted: nothing to tell.
    if (const std::optional<SettledPair>& pair = opening.interrupted; pair && !pair->converted) {
        message = pair->keptName.empty()
                      ? queueTexts_->msgQueueInterrupted
                      : queueTexts_->msgQueueInterruptedKept.arg(QString::fromStdString(pair->keptName));
        message += QStringLiteral("\n\n") + TextFromPath(pair->source);
    }
    if (!message.isEmpty())
        QTimer::singleShot(0, this,
                           [this, message] { questions_->ShowWarning(this, ApplicationTitle(), message); });
}

void TfrmMain::FlushKeptQueue() {
    keptQueue_->Flush();
}

KeptQueue TfrmMain::KeptQueueNow() const {
    KeptQueue queue;
    const int count = jobList_->Count();
    queue.entries.reserve(static_cast<std::size_t>(count));
    const EntryOutcomes& outcomes = conversion_->Outcomes();
    const std::optional<PairRecord>& pair = outcomes.PairBeingWritten();
    for (int index = 0; index < count; ++index) {
        const EntryId id = jobList_->IdOfEntry(index);
        const EntryOutcome* outcome = outcomes.Of(id);
        auto [path, duration] = jobList_->EntryTextAndDuration(index);
        queue.entries.push_back({std::move(path), outcome != nullptr ? std::optional(*outcome) : std::nullopt,
                                 duration, outcomes.PartsOf(id)});
        if (pair && pair->entry == id)
            queue.writing = PairBeingWritten{static_cast<std::size_t>(index), pair->video, pair->thumbnail,
                                             pair->videoIdentity, pair->thumbnailIdentity};
    }
    return queue;
}

void TfrmMain::ActionConvertAgainExecute() {
    for (const int index : jobList_->SelectedIndexes())
        runView_->ForgetOutcome(jobList_->IdOfEntry(index));
}

void TfrmMain::ActionRemoveConvertedExecute() {
    for (int index = jobList_->Count() - 1; index >= 0; --index)
        if (runView_->EntryConverted(index))
            jobList_->RemoveEntry(index);
}

bool TfrmMain::ConfirmConvertingAgain() {
    const int count = jobList_->Count();
    if (count == 0 || conversion_->IsRunActive())
        return true;
    for (int index = 0; index < count; ++index)
        if (!runView_->EntryConverted(index))
            return true;
    if (!questions_->AskYesNo(this, ApplicationTitle(), queueTexts_->msgConvertAllAgain))
        return false;
    for (int index = 0; index < count; ++index)
        runView_->ForgetOutcome(jobList_->IdOfEntry(index));
    return true;
}

bool TfrmMain::RunView::EntryConverted(int index) const {
    return Outcomes().Converted(IdOfEntry(index));
}

void TfrmMain::RunView::ForgetOutcome(EntryId entry) {
    if (!Outcomes().Forget(entry))
        return;
    window_.jobList_->ClearOutcomes();
    ShowOutcomesAgain();
}

void TfrmMain::RunView::ShowEntryMissing(int index) {
    Outcomes().MarkMissing(IdOfEntry(index));
    const KeptQueueTexts& texts = *window_.queueTexts_;
    window_.jobList_->ShowOutcome(index, texts.StringOutcomeMissing, texts.msgOutcomeMissing,
                                  RowOutcome::Problem);
}

void TfrmMain::RunView::RecordPairBeingWritten(EntryId, const std::string& video, const std::string&) {
    KeptQueueStore& store = *window_.keptQueue_;
    if (video.empty()) {
        store.Changed();
        return;
    }
    const std::uint64_t ticket = store.WriteNow();
    // On the disk before the encoders write into the pair.
    WaitUntil([&] { return store.Written(ticket) || window_.closing_; });
}

} // namespace velmora
