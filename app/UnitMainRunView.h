#pragma once

#include "app/UnitMain.h"
#include "engine/ConversionViews.h"
#include "engine/EntryOutcomes.h"
#include "engine/KeptQueue.h"

namespace velmora {

// What a conversion run reads from and shows on the main window. The entries' outcomes are the run's
// (ConversionRun::Outcomes()); this only draws them.
class TfrmMain::RunView : public ConversionWindow {
public:
    explicit RunView(TfrmMain& window) : window_(window) {}

    int Count() const override;
    std::string EntryText(int index) const override;
    void SelectEntry(int index) override;
    std::optional<int> SelectedEntry() const override;
    EntryId IdOfEntry(int index) const override;
    void ShowEntryOutcome(int index, const EntryOutcome& outcome) override;
    void ClearEntryOutcomes() override;
    void RemoveEntry(int index) override;
    std::optional<double> EntryDuration(int index) const override;
    bool DurationsPending() const override;

    void SetProgress(int position) override;
    void SetStatusLine(const StatusLine& line) override;
    void ResetStatusDisplay() override;
    void ShowReadingLengths(bool reading) override;
    std::string StatusRunFormat() const override;
    void ShowQueueProgress(const QueueStatus& status) override;
    void ClearQueueProgress() override;
    void ShowRunSummary(const RunSummary& summary) override;
    // The queue's line empty again, if it tells how the last run went.
    void ClearRunSummary();

    std::string OutputFolderText() const override;
    std::string RelativeOutputFolderFormat() const override;
    EncodingSettings CurrentEncodingSettings() const override;
    std::vector<std::string> EncoderTrackWords() const override { return window_.EncoderTrackWords(); }
    std::vector<std::string> EncoderPictureWords(EntryId id) const override;
    std::vector<std::string> EncoderSoundWords() const override;
    void WaitUntil(const std::function<bool()>& done) override;
    bool IsAutoPowerOffOn() const override;
    void ShowPowerOffCountdown(const RunReport& report) override;
    void NotifyRunEnded(const RunReport& report) override;
    void ShowEmptyListNotice() override;
    bool ShowRunReport(const RunReport& report) override;
    bool AskOpenOutputFolder(bool allConverted) override;
    void OpenOutputFolder(const std::string& folder) override;
    OutputStick RememberedOutputStick() const override;
    void ShowOutputStickMissing(const OutputStick& stick) override;
    bool AskConvertDespiteSpace(const SpaceQuestion& question, const std::string& folder) override;
    void ShowRunInProgress(bool inProgress) override;
    std::string RunReasonText(RunReason reason) const override;
    void RecordPairBeingWritten(EntryId entry, const std::string& video,
                                const std::string& thumbnail) override;

    bool EntryConverted(int index) const;
    // Forgets the entry's outcome, and draws the rows again.
    void ForgetOutcome(EntryId entry);
    // Marks the entry's source as gone, and draws it.
    void ShowEntryMissing(int index);

    // Shows the rows' outcomes and the run's summary again in the texts loaded now.
    void ShowOutcomesAgain();
    // The report window with the summary above the problems; the removal of converted entries is
    // offered only when asked for. Its exec() result.
    int ShowReportWindow(const RunReport& report, const QString& summary, bool offerRemoval);
    QString SummaryOf(const RunReport& report) const;

private:
    // The outcome in a sentence, for the row's tooltip and the report.
    QString OutcomeDetails(const EntryOutcome& outcome) const;
    // The outcome in a few words, beside the row's path.
    QString OutcomeMark(const EntryOutcome& outcome) const;
    // The queue's line, its tooltip and its accessible name.
    void ShowQueueLine(const QString& text);

    EntryOutcomes& Outcomes() const;

    TfrmMain& window_;
    std::optional<RunSummary> shownSummary_;
};

} // namespace velmora
