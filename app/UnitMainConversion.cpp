// The main window's side of a conversion run: what the run reads and shows, the run controls, and
// the wiring of the encoder runners.
#include "app/UnitMain.h"
#include "app/UnitMainRunView.h"

#include "app/KeptQueueStore.h"
#include "app/StatusLineLabel.h"
#include "app/Unit_common.h"
#include "console/ConsoleIO.h"
#include "dialogs/UnitCloseWindows.h"
#include "dialogs/UnitRunReport.h"
#include "engine/ConversionRun.h"
#include "joblist/JobList.h"
#include "platform/ErrorReport.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/DesktopNotifier.h"
#include "platform/qt/DesktopShell.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/PathText.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

namespace velmora {

int TfrmMain::RunView::Count() const {
    return window_.jobList_->Count();
}

std::string TfrmMain::RunView::EntryText(int index) const {
    return window_.jobList_->EntryText(index);
}

void TfrmMain::RunView::SelectEntry(int index) {
    window_.jobList_->SelectEntry(index);
}

std::optional<int> TfrmMain::RunView::SelectedEntry() const {
    return window_.jobList_->SelectedIndex();
}

EntryId TfrmMain::RunView::IdOfEntry(int index) const {
    return window_.jobList_->IdOfEntry(index);
}

void TfrmMain::RunView::ShowEntryOutcome(int index, const EntryOutcome& outcome) {
    window_.jobList_->ShowOutcome(index, OutcomeMark(outcome), OutcomeDetails(outcome),
                                  outcome.NeedsAttention() ? RowOutcome::Problem : RowOutcome::Done);
}

QString TfrmMain::RunView::OutcomeMark(const EntryOutcome& outcome) const {
    const QString name = QString::fromStdString(outcome.outputName);
    switch (outcome.result) {
    case EntryResult::Converted:
        return name;
    case EntryResult::Failed:
        return window_.StringOutcomeFailed;
    case EntryResult::Stopped: {
        if (name.isEmpty())
            return window_.StringOutcomeStopped;
        const QString reached = QString::fromStdString(ShortClockText(outcome.reachedSeconds));
        if (outcome.lengthSeconds <= 0)
            return window_.StringOutcomeStoppedKeptAt.arg(name, reached);
        return window_.StringOutcomeStoppedKept.arg(
            name, reached, QString::fromStdString(ShortClockText(outcome.lengthSeconds)));
    }
    case EntryResult::NotReached:
        return window_.StringOutcomeNotReached;
    }
    return {};
}

void TfrmMain::RunView::ClearEntryOutcomes() {
    window_.jobList_->ClearOutcomes();
    // A new run begins: the last one's summary is over.
    ClearRunSummary();
    ShowOutcomesAgain();
}

void TfrmMain::RunView::ShowOutcomesAgain() {
    const EntryOutcomes& outcomes = Outcomes();
    for (int index = 0; index < Count(); ++index)
        if (const EntryOutcome* outcome = outcomes.Of(IdOfEntry(index)))
            ShowEntryOutcome(index, *outcome);
        else if (outcomes.Missing(IdOfEntry(index)))
            ShowEntryMissing(index);
    if (shownSummary_)
        ShowRunSummary(RunSummary(*shownSummary_));
}

void TfrmMain::RunView::RemoveEntry(int index) {
    window_.jobList_->RemoveEntry(index);
}

std::optional<double> TfrmMain::RunView::EntryDuration(int index) const {
    return window_.Jobs().EntryDuration(index);
}

bool TfrmMain::RunView::DurationsPending() const {
    return window_.Jobs().DurationsPending();
}

QString TfrmMain::RunView::OutcomeDetails(const EntryOutcome& outcome) const {
    const QString name = QString::fromStdString(outcome.outputName);
    // The encoder's words are UTF-8; a source name inside them keeps its bytes as far as text can.
    const QString thumbnailReason = QString::fromUtf8(outcome.thumbnailReason);
    switch (outcome.result) {
    case EntryResult::Converted: {
        QStringList lines;
        if (!outcome.replacedName.empty())
            lines << window_.queueTexts_->msgOutcomeReplacedPart.arg(
                name, QString::fromStdString(outcome.replacedName));
        if (!thumbnailReason.isEmpty())
            lines << window_.msgOutcomeNoPicture.arg(name, thumbnailReason);
        if (!outcome.subtitleReason.empty())
            lines << window_.msgOutcomeNoSubtitles.arg(name, QString::fromUtf8(outcome.subtitleReason));
        if (!outcome.colourReason.empty())
            lines << window_.msgOutcomeColours.arg(name);
        if (outcome.SoundUnmeasured())
            lines << window_.msgOutcomeNotMeasured.arg(name);
        if (lines.isEmpty())
            lines << window_.msgOutcomeConverted.arg(name);
        if (!outcome.loudness.empty() && !outcome.SoundUnmeasured())
            lines << window_.msgOutcomeLoudness.arg(QString::fromStdString(outcome.loudness));
        return lines.join(QLatin1Char('\n'));
    }
    case EntryResult::Failed:
        return window_.msgOutcomeFailed.arg(QString::fromUtf8(outcome.reason));
    case EntryResult::Stopped:
        return name.isEmpty() ? window_.msgOutcomeStopped : window_.msgOutcomeStoppedKept.arg(name);
    case EntryResult::NotReached:
        return window_.msgOutcomeNotReached;
    }
    return {};
}

void TfrmMain::RunView::SetProgress(int position) {
    window_.progressBarCurrent->setValue(position);
}

void TfrmMain::RunView::SetStatusLine(const StatusLine& line) {
    window_.statusLine_->Show(line);
}

void TfrmMain::RunView::ResetStatusDisplay() {
    window_.ResetStatusDisplay();
}

void TfrmMain::RunView::ShowReadingLengths(bool reading) {
    window_.readingLengths_ = reading;
    if (reading)
        window_.labelCurrentInfo->setText(window_.msgStatusLengths);
    else
        window_.ResetStatusDisplay();
}

std::string TfrmMain::RunView::StatusRunFormat() const {
    return window_.msgStatusRun.toStdString();
}

void TfrmMain::RunView::ShowQueueProgress(const QueueStatus& status) {
    const QString percent = QString::number(status.percent);
    const QString text = window_.QueueProgressText(status);
    // Every encoder line comes here; a screen reader is told only of a line that changed.
    shownSummary_.reset();
    if (text == window_.labelQueueInfo->toolTip())
        return;
    ShowQueueLine(text);
    window_.setWindowTitle(window_.msgTitleProgress.arg(percent, window_.caption_));
}

void TfrmMain::RunView::ClearQueueProgress() {
    ShowQueueLine(QString());
    window_.setWindowTitle(window_.caption_);
}

void TfrmMain::RunView::ShowRunSummary(const RunSummary& summary) {
    shownSummary_ = summary;
    const RunSummaryTexts texts{window_.msgSummaryDone.toStdString(), window_.msgSummaryStopped.toStdString(),
                                window_.msgSummaryError.toStdString(), window_.msgSummaryFailed.toStdString(),
                                window_.msgSummaryTook.toStdString()};
    ShowQueueLine(QString::fromStdString(RunSummaryText(summary, texts)));
}

void TfrmMain::RunView::ClearRunSummary() {
    if (!shownSummary_)
        return;
    shownSummary_.reset();
    ShowQueueLine(QString());
}

void TfrmMain::RunView::ShowQueueLine(const QString& text) {
    QLabel* label = window_.labelQueueInfo;
    // A line longer than its label ends in an ellipsis, never cut inside a letter; the tooltip has it all.
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, label->contentsRect().width()));
    window_.labelQueueInfo->setToolTip(text);
    // Screen readers hear the line change, not only see it.
    window_.labelQueueInfo->setAccessibleName(text);
}

std::string TfrmMain::RunView::OutputFolderText() const {
    return PathFromText(window_.editOutputFolder->text());
}

std::string TfrmMain::RunView::RelativeOutputFolderFormat() const {
    return window_.msgOutputFolderNotFull.toStdString();
}

EncodingSettings TfrmMain::RunView::CurrentEncodingSettings() const {
    EncodingSettings settings;
    settings.videoBitrate = window_.comboBoxVideoBitrate->currentIndex();
    settings.frameRate = window_.comboBoxFrameRate->currentIndex();
    settings.videoSize = window_.comboBoxVideoSize->currentIndex();
    settings.audioBitrate = window_.comboBoxAudioBitrate->currentIndex();
    settings.sampleRate = window_.comboBoxSampleRate->currentIndex();
    settings.channel = window_.comboBoxChannel->currentIndex();
    return settings;
}

void TfrmMain::RunView::WaitUntil(const std::function<bool()>& done) {
    // Sleeps until the next event: the runners' notifications arrive as events.
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool TfrmMain::RunView::IsAutoPowerOffOn() const {
    return window_.common_.IsAutoPowerOffOn();
}

void TfrmMain::RunView::NotifyRunEnded(const RunReport& report) {
    if (window_.isActiveWindow())
        return;
    const int failed = report.Failed();
    window_.notifier_->Notify(window_.msgNoticeSummary,
                              window_.msgNoticeBody.arg(QString::number(report.Converted()),
                                                        QString::number(report.queued),
                                                        QString::number(failed)));
}

void TfrmMain::RunView::ShowEmptyListNotice() {
    window_.questions_->ShowWarning(&window_, ApplicationTitle(), window_.msgListEmpty);
}

bool TfrmMain::RunView::ShowRunReport(const RunReport& report) {
    return ShowReportWindow(report, SummaryOf(report), true) == TfrmRunReport::RemoveConverted;
}

QString TfrmMain::RunView::SummaryOf(const RunReport& report) const {
    return window_.msgRunSummary.arg(QString::number(report.Converted()), QString::number(report.queued));
}

int TfrmMain::RunView::ShowReportWindow(const RunReport& report, const QString& summary, bool offerRemoval) {
    TfrmRunReport* dialog = window_.dialogs_.frmRunReport;
    if (dialog == nullptr)
        return QDialog::Rejected;
    QStringList problems;
    for (const EntryOutcome& outcome : report.outcomes)
        if (outcome.NeedsAttention() || !outcome.replacedName.empty())
            problems << TextFromPath(outcome.source) + QStringLiteral("\n    ") +
                            OutcomeDetails(outcome).replace(QLatin1Char('\n'), QStringLiteral("\n    "));
    dialog->SetReport(summary, problems, offerRemoval && report.Converted() > 0);
    return window_.questions_->RunDialog(*dialog);
}

bool TfrmMain::RunView::AskOpenOutputFolder(bool allConverted) {
    // Qt's message box shows a blank line for two line feeds; CR LF would show twice.
    const QString text = allConverted ? window_.msgFolderView + QStringLiteral("\n\n") + window_.msgFinishInfo
                                      : window_.msgFinishInfo;
    return window_.questions_->AskYesNo(&window_, ApplicationTitle(), text);
}

void TfrmMain::RunView::OpenOutputFolder(const std::string& folder) {
    const QString path = TextFromPath(folder);
    if (!window_.common_.Shell().Open(path))
        window_.questions_->ShowWarning(&window_, ApplicationTitle(),
                                        window_.msgCannotOpenFolder + QStringLiteral("\n\n") + path);
}

void TfrmMain::SetNotifier(std::unique_ptr<DesktopNotifier> notifier) {
    notifier_ = std::move(notifier);
}

void TfrmMain::ConnectConversionHandlers() {
    runView_ = std::make_unique<RunView>(*this);
    statusLine_ = new StatusLineLabel(labelCurrentInfo);
    conversion_ = std::make_unique<ConversionRun>(*runView_, *ConsoleIO, *ConsoleIOTHM, common_.appDir);
    ConsoleIO->OnProcessStatusChange = [this](TConsoleIO& Sender, bool IsRunning) {
        ConsoleIOProcessStatusChange(Sender, IsRunning);
    };
    connect(ActionConvertNow, &QAction::triggered, this, Guarded([this] { ActionConvertNowExecute(); }));
}

void TfrmMain::ActionConvertNowExecute() {
    if (ConfirmConvertingAgain())
        conversion_->ActionConvertNowExecute();
    // The window closed during the run: its last outcomes are kept too.
    if (closing_)
        FlushKeptQueue();
}

void TfrmMain::ConsoleIOProcessStatusChange(TConsoleIO&, bool IsRunning) {
    // The controls lock while a video is made and the list is usable between videos, except while
    // the window asks whether to quit: then everything waits for the answer as it stood.
    if (!IsRunning && askingToQuit_)
        return;
    SetRunControlsEnabled(!IsRunning);
}

void TfrmMain::RunView::ShowRunInProgress(bool inProgress) {
    // Convert reads Stop from the run's first moment to its end, between its steps too.
    window_.runInProgress_ = inProgress;
    window_.SetRunControlsEnabled(!inProgress || !window_.ConsoleIO->IsRunning());
}

std::string TfrmMain::RunView::RunReasonText(RunReason reason) const {
    const KeptQueueTexts& texts = *window_.queueTexts_;
    return (reason == RunReason::SourceGone ? texts.msgReasonSourceGone : texts.msgReasonOutputGone)
        .toStdString();
}

EntryOutcomes& TfrmMain::RunView::Outcomes() const {
    return window_.conversion_->Outcomes();
}

void TfrmMain::SetRunControlsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             listViewFiles, comboBoxVideoBitrate, comboBoxFrameRate, comboBoxVideoSize, comboBoxAudioBitrate,
             comboBoxSampleRate, comboBoxChannel, comboBoxSoundLevel, checkBoxCropBlackBars})
        control->setEnabled(enabled);
    for (QAction* action : {ActionFileAdd, ActionFileDelete, ActionFileClearAll, ActionFileMoveUp,
                            ActionFileMoveDown, ActionSetDirectory, ActionFileBatchAdd})
        action->setEnabled(enabled);
    editOutputFolder->setEnabled(enabled);
    runControlsLocked_ = !enabled || runInProgress_;
    ActionConvertNow->setText(runControlsLocked_ ? StringStopCaption : StringStartCaption);
}

void TfrmMain::ResetStatusDisplay() {
    labelCurrentInfo->setText(msgStatusReady);
    labelCurrentInfo->setToolTip(QString());
    progressBarCurrent->setValue(0);
}

} // namespace velmora
