#pragma once

#include "engine/ConversionViews.h"
#include "platform/QueuedOwnerThreadChannel.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::test {

// A queued entry: its path and an identity of its own, which follows it through moves.
struct FakeEntry {
    // Not explicit: lists are written as paths.
    FakeEntry(std::string path);
    FakeEntry(const char* path) : FakeEntry(std::string(path)) {}
    std::string text;
    EntryId id;
    std::optional<double> duration;
};

// The main window as the conversion engine sees it, without a screen. Its waits run the runners'
// notifications from a queued channel and call duringWait after each round, where a test does what a
// user would do meanwhile (press Convert, remove entries, close the window).
class FakeConversionWindow : public ConversionWindow {
public:
    explicit FakeConversionWindow(QueuedOwnerThreadChannel& channel) : channel_(channel) {}

    int Count() const override { return static_cast<int>(entries.size()); }
    std::string EntryText(int index) const override;
    void SelectEntry(int index) override;
    std::optional<int> SelectedEntry() const override { return selected; }
    EntryId IdOfEntry(int index) const override;
    // Recorded as "outcome:<n>:<converted|failed|stopped|not-reached>:<output name>".
    void ShowEntryOutcome(int index, const EntryOutcome& outcome) override;
    void ClearEntryOutcomes() override { events.push_back("clear-outcomes"); }
    void RemoveEntry(int index) override;
    std::optional<double> EntryDuration(int index) const override;
    bool DurationsPending() const override { return durationsPending; }

    // Recorded as "run:on" and "run:off".
    void ShowRunInProgress(bool inProgress) override { events.push_back(inProgress ? "run:on" : "run:off"); }
    void SetProgress(int position) override { progress.push_back(position); }
    void SetStatusLine(const StatusLine& line) override {
        statusTexts.push_back(line.Whole());
        events.push_back("status");
    }
    void ResetStatusDisplay() override { events.push_back("reset"); }
    // Recorded as "lengths" and "lengths-read".
    void ShowReadingLengths(bool reading) override { events.push_back(reading ? "lengths" : "lengths-read"); }
    std::string StatusRunFormat() const override { return statusRunFormat; }
    void ShowQueueProgress(const QueueStatus&) override {}
    void ClearQueueProgress() override { ++queueCleared; }
    void ShowRunSummary(const RunSummary& shown) override { summary = shown; }

    std::string OutputFolderText() const override { return outputFolder; }
    EncodingSettings CurrentEncodingSettings() const override { return settings; }
    std::vector<std::string> EncoderTrackWords() const override { return trackWords; }
    std::vector<std::string> EncoderPictureWords(EntryId) const override { return pictureWords; }
    std::vector<std::string> EncoderSoundWords() const override { return soundWords; }
    // Raises when done() has not come true within a generous limit, so that a broken run fails the
    // test instead of hanging it.
    void WaitUntil(const std::function<bool()>& done) override;
    bool IsAutoPowerOffOn() const override { return autoPowerOff; }
    void ShowPowerOffCountdown(const RunReport&) override { events.push_back("countdown"); }
    void NotifyRunEnded(const RunReport&) override { ++notices; }
    void ShowEmptyListNotice() override { events.push_back("empty"); }
    // Recorded as "report"; answers removeConverted.
    bool ShowRunReport(const RunReport& report) override;
    // Recorded as "ask", or "ask:partial" when not every file was converted.
    bool AskOpenOutputFolder(bool allConverted) override;
    void OpenOutputFolder(const std::string& folder) override { events.push_back("open:" + folder); }
    OutputStick RememberedOutputStick() const override { return stick; }
    // Recorded as "stick-missing:<label>".
    void ShowOutputStickMissing(const OutputStick& missing) override {
        events.push_back("stick-missing:" + missing.label);
    }
    // Recorded as "space:<needed>:<available>"; answers answerSpace.
    bool AskConvertDespiteSpace(const SpaceQuestion& question, const std::string&) override {
        events.push_back("space:" + std::to_string(question.needed) + ":" +
                         std::to_string(question.available));
        return answerSpace;
    }
    // Recorded as "pair:<entry>:<video>", the video empty once settled.
    void RecordPairBeingWritten(EntryId entry, const std::string& video, const std::string&) override {
        events.push_back("pair:" + std::to_string(entry) + ":" + video);
    }

    std::vector<FakeEntry> entries;
    std::optional<int> selected;
    std::string statusRunFormat = "Converting %s";
    std::string outputFolder;
    EncodingSettings settings;
    std::vector<std::string> trackWords;
    std::vector<std::string> pictureWords;
    std::vector<std::string> soundWords;
    bool autoPowerOff = false;
    bool durationsPending = false;
    bool answerYes = false;
    bool removeConverted = false;
    OutputStick stick;
    bool answerSpace = false;
    // The report last shown.
    std::optional<RunReport> report;
    std::function<void()> duringWait;

    // "select:<n>", "status", "reset", "countdown", "report", "ask", "open:<folder>", "outcome:…",
    // "empty", in order; a test may add its own.
    std::vector<std::string> events;
    std::vector<int> progress;
    std::vector<std::string> statusTexts;
    int queueCleared = 0, notices = 0;
    std::optional<RunSummary> summary;

private:
    QueuedOwnerThreadChannel& channel_;
};

} // namespace velmora::test
