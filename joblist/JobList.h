#pragma once

#include "engine/ProbeAnswer.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>

class QTableWidget;
class QTableWidgetItem;

namespace velmora {

class DurationProbes;

// How a row shows the outcome of its last conversion.
enum class RowOutcome : std::uint8_t { Done, Problem };

// The queue of source paths shown in the main window's list: one row a path, exactly as received.
class JobList {
public:
    // Also draws the rows' outcomes.
    explicit JobList(QTableWidget* list);
    ~JobList();

    // From now on every entry's length is learnt in the background from this encoder, again after an
    // edit of its path.
    void LearnDurationsWith(const std::string& encoderPath);
    // The preference words every probe is given; a change asks every entry again.
    void SetTrackPreferenceWords(const std::vector<std::string>& words);
    // How an entry's sound and subtitles are told in its tooltip; every known entry is told again.
    void DescribeTracksWith(std::function<QString(const ProbeAnswer&)> describe);
    // The entry's sound and subtitles as its tooltip tells them; empty while unknown.
    QString EntryTracks(int index) const;
    // The entry's black bars as its probe found them; nothing while not probed.
    std::optional<CropFinding> EntryCrop(int index) const;

    // Appends the path when it passes the extension rule; returns whether it did.
    bool AddFile(const std::string& path);
    // Appends an entry kept from an earlier session as it was, with its length when known.
    void RestoreEntry(const std::string& path, std::optional<double> duration);

    int Count() const;
    // The entry's text as a path (it may have been edited in place).
    std::string EntryText(int index) const;
    // Makes the entry the only selected one and shows it.
    void SelectEntry(int index);
    // The first selected entry.
    std::optional<int> SelectedIndex() const;
    // Every selected entry, in list order.
    std::vector<int> SelectedIndexes() const;
    // The entry's identity, which moves with it and is never given to another entry.
    std::uint64_t IdOfEntry(int index) const;
    // How long the entry's file plays, in seconds; nothing while unknown or not yet learnt.
    std::optional<double> EntryDuration(int index) const;
    // Whether some entry's length is still being learnt.
    bool DurationsPending() const;
    // EntryText and EntryDuration at once, the path read once: a copy of a long list stays quick.
    std::pair<std::string, std::optional<double>> EntryTextAndDuration(int index) const;

    // A short mark beside the path (the output's name, or "Failed"), and the details in the row's
    // tooltip and accessible description.
    void ShowOutcome(int index, const QString& mark, const QString& details, RowOutcome kind);
    void ClearOutcomes();
    void RemoveEntry(int index);

    // Removes every selected entry and selects the entry that came after the last of them (or the new
    // last entry).
    void RemoveSelected();
    void Clear();
    // Moves the selected entries one place up (-1) or down (+1) as a block, closing any gaps between
    // them; the selection follows them. Nothing moves when the block is already at that end.
    void MoveSelected(int offset);

private:
    QTableWidgetItem* AppendEntry(const std::string& path);
    // again: also when the path was asked for already (the preferences changed).
    void AskDuration(QTableWidgetItem* item, bool again = false);
    void StoreProbe(std::uint64_t id, const std::string& source, const std::vector<std::string>& words,
                    const std::optional<ProbeAnswer>& answer);
    void ShowTracks(QTableWidgetItem* item);
    // The path, the tracks and the last outcome.
    void UpdateToolTip(QTableWidgetItem* item) const;

    QTableWidget* list_;
    std::unique_ptr<DurationProbes> probes_;
    std::vector<std::string> trackWords_;
    std::function<QString(const ProbeAnswer&)> describeTracks_;
    // The last probe's answer for the current preferences, by entry identity.
    std::map<std::uint64_t, ProbeAnswer> probed_;
    std::uint64_t lastId_ = 0;
};

} // namespace velmora
