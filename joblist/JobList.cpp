#include "joblist/JobList.h"

#include "joblist/DurationProbes.h"
#include "joblist/ExtensionRule.h"
#include "joblist/OutcomeDelegate.h"
#include "platform/qt/LiteralText.h"
#include "platform/qt/PathText.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableWidget>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kPathBytesRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;
// The path whose length was asked for last, and the answer: an edited entry is asked again.
constexpr int kAskedPathRole = Qt::UserRole + 2;
constexpr int kDurationRole = Qt::UserRole + 3;
constexpr int kTracksRole = Qt::UserRole + 4;
constexpr int kOutcomeDetailsRole = Qt::UserRole + 5;

} // namespace

JobList::JobList(QTableWidget* list) : list_(list) {
    list_->setItemDelegate(new OutcomeDelegate(list_));
    // The one column is always the viewport's width, with or without a scroll bar beside it, so that
    // the outcome drawn at its right edge is never cut.
    // (A stretched last section never shrinks below the width it was given.)
    list_->horizontalHeader()->setStretchLastSection(false);
    list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

JobList::~JobList() = default;

void JobList::LearnDurationsWith(const std::string& encoderPath) {
    probes_ = std::make_unique<DurationProbes>(
        encoderPath,
        [this](std::uint64_t id, const std::string& source, const std::vector<std::string>& words,
               const std::optional<ProbeAnswer>& answer) { StoreProbe(id, source, words, answer); });
    QObject::connect(list_, &QTableWidget::itemChanged, probes_.get(),
                     [this](QTableWidgetItem* item) { AskDuration(item); });
    for (int row = 0; row < Count(); ++row)
        AskDuration(list_->item(row, 0));
}

void JobList::SetTrackPreferenceWords(const std::vector<std::string>& words) {
    if (words == trackWords_)
        return;
    trackWords_ = words;
    probed_.clear();
    for (int row = 0; row < Count(); ++row)
        AskDuration(list_->item(row, 0), true);
}

void JobList::DescribeTracksWith(std::function<QString(const ProbeAnswer&)> describe) {
    describeTracks_ = std::move(describe);
    for (int row = 0; row < Count(); ++row)
        ShowTracks(list_->item(row, 0));
}

std::optional<CropFinding> JobList::EntryCrop(int index) const {
    const auto probed = probed_.find(IdOfEntry(index));
    return probed != probed_.end() ? probed->second.crop : std::nullopt;
}

QString JobList::EntryTracks(int index) const {
    const QTableWidgetItem* item = list_->item(index, 0);
    return item != nullptr ? item->data(kTracksRole).toString() : QString();
}

void JobList::AskDuration(QTableWidgetItem* item, bool again) {
    if (probes_ == nullptr || item == nullptr)
        return;
    const std::string path = EntryText(item->row());
    const QByteArray asked = QByteArray::fromStdString(path);
    const bool samePath = item->data(kAskedPathRole).toByteArray() == asked;
    if (samePath && !again)
        return;
    const std::uint64_t id = IdOfEntry(item->row());
    if (!samePath) {
        item->setData(kAskedPathRole, asked);
        item->setData(kDurationRole, QVariant());
        probed_.erase(id);
        UpdateToolTip(item);
    }
    ShowTracks(item);
    probes_->Ask(id, path, trackWords_);
}

void JobList::StoreProbe(std::uint64_t id, const std::string& source, const std::vector<std::string>& words,
                         const std::optional<ProbeAnswer>& answer) {
    for (int row = 0; row < Count(); ++row) {
        QTableWidgetItem* item = list_->item(row, 0);
        if (item == nullptr || IdOfEntry(row) != id)
            continue;
        if (item->data(kAskedPathRole).toByteArray() != QByteArray::fromStdString(source))
            return;
        if (answer && answer->duration)
            item->setData(kDurationRole, *answer->duration);
        // An answer for preferences changed since is followed by one for the current ones.
        if (answer && words == trackWords_) {
            probed_[id] = *answer;
            ShowTracks(item);
        }
        return;
    }
}

void JobList::ShowTracks(QTableWidgetItem* item) {
    if (item == nullptr)
        return;
    const auto probed = probed_.find(IdOfEntry(item->row()));
    const QString tracks =
        probed != probed_.end() && describeTracks_ ? describeTracks_(probed->second) : QString();
    if (item->data(kTracksRole).toString() == tracks)
        return;
    item->setData(kTracksRole, tracks);
    UpdateToolTip(item);
}

void JobList::UpdateToolTip(QTableWidgetItem* item) const {
    QString details = item->data(kTracksRole).toString();
    const QString outcome = item->data(kOutcomeDetailsRole).toString();
    if (!outcome.isEmpty())
        details += (details.isEmpty() ? QString() : QStringLiteral("\n")) + outcome;
    item->setData(Qt::AccessibleDescriptionRole, details.isEmpty() ? QVariant() : QVariant(details));
    item->setToolTip(
        LiteralToolTip(details.isEmpty() ? item->text() : item->text() + QLatin1Char('\n') + details));
}

std::optional<double> JobList::EntryDuration(int index) const {
    return EntryTextAndDuration(index).second;
}

std::pair<std::string, std::optional<double>> JobList::EntryTextAndDuration(int index) const {
    std::string path = EntryText(index);
    const QTableWidgetItem* item = list_->item(index, 0);
    if (item == nullptr || item->data(kAskedPathRole).toByteArray() != QByteArray::fromStdString(path))
        return {std::move(path), std::nullopt};
    const QVariant seconds = item->data(kDurationRole);
    return {std::move(path), seconds.isValid() ? std::optional<double>(seconds.toDouble()) : std::nullopt};
}

bool JobList::DurationsPending() const {
    return probes_ != nullptr && probes_->Busy();
}

bool JobList::AddFile(const std::string& path) {
    if (!PassesExtensionRule(path))
        return false;
    AskDuration(AppendEntry(path));
    return true;
}

void JobList::RestoreEntry(const std::string& path, std::optional<double> duration) {
    QTableWidgetItem* item = AppendEntry(path);
    if (duration) {
        item->setData(kAskedPathRole, QByteArray::fromStdString(path));
        item->setData(kDurationRole, *duration);
    }
    // Asked again all the same, for its tracks.
    AskDuration(item, true);
}

QTableWidgetItem* JobList::AppendEntry(const std::string& path) {
    const int row = list_->rowCount();
    list_->insertRow(row);
    auto* item = new QTableWidgetItem(TextFromPath(path));
    item->setData(kPathBytesRole, QByteArray::fromStdString(path));
    item->setData(kIdRole, QVariant::fromValue(++lastId_));
    item->setToolTip(LiteralToolTip(item->text()));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    list_->setItem(row, 0, item);
    return item;
}

int JobList::Count() const {
    return list_->rowCount();
}

std::string JobList::EntryText(int index) const {
    const QTableWidgetItem* item = list_->item(index, 0);
    if (item == nullptr)
        return {};
    // A name that is not valid text keeps its bytes unless the user has edited the entry.
    const QByteArray bytes = item->data(kPathBytesRole).toByteArray();
    const std::string received = bytes.toStdString();
    if (item->text() == TextFromPath(received))
        return received;
    return PathFromText(item->text());
}

void JobList::SelectEntry(int index) {
    list_->setCurrentCell(index, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollToItem(list_->item(index, 0));
}

std::optional<int> JobList::SelectedIndex() const {
    const std::vector<int> selected = SelectedIndexes();
    if (selected.empty())
        return std::nullopt;
    return selected.front();
}

std::vector<int> JobList::SelectedIndexes() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::uint64_t JobList::IdOfEntry(int index) const {
    const QTableWidgetItem* item = list_->item(index, 0);
    return item != nullptr ? item->data(kIdRole).value<std::uint64_t>() : 0;
}

void JobList::ShowOutcome(int index, const QString& mark, const QString& details, RowOutcome kind) {
    QTableWidgetItem* item = list_->item(index, 0);
    if (item == nullptr)
        return;
    item->setData(OutcomeDelegate::MarkRole, mark);
    item->setData(OutcomeDelegate::ProblemRole, kind == RowOutcome::Problem);
    item->setData(kOutcomeDetailsRole, details);
    UpdateToolTip(item);
}

void JobList::ClearOutcomes() {
    for (int row = 0; row < Count(); ++row) {
        QTableWidgetItem* item = list_->item(row, 0);
        if (item == nullptr || item->data(OutcomeDelegate::MarkRole).isNull())
            continue;
        item->setData(OutcomeDelegate::MarkRole, QVariant());
        item->setData(OutcomeDelegate::ProblemRole, QVariant());
        item->setData(kOutcomeDetailsRole, QVariant());
        UpdateToolTip(item);
    }
}

void JobList::RemoveEntry(int index) {
    list_->removeRow(index);
}

void JobList::RemoveSelected() {
    const std::vector<int> selected = SelectedIndexes();
    if (selected.empty())
        return;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row)
        list_->removeRow(*row);
    const int next = selected.back() + 1 - static_cast<int>(selected.size());
    list_->clearSelection();
    if (Count() == 0)
        list_->selectionModel()->clearCurrentIndex();
    else
        SelectEntry(std::min(next, Count() - 1));
}

void JobList::Clear() {
    list_->setRowCount(0);
    probed_.clear();
}

void JobList::MoveSelected(int offset) {
    std::vector<int> selected = SelectedIndexes();
    if (selected.empty())
        return;
    const int edge = offset < 0 ? selected.front() + offset : selected.back() + offset;
    if (edge < 0 || edge >= Count())
        return;
    // Each entry steps over its neighbour, starting from the end it moves towards, so a block keeps
    // its order and the entry it passes lands on its other side.
    if (offset > 0)
        std::reverse(selected.begin(), selected.end());
    for (int& row : selected) {
        QTableWidgetItem* moving = list_->takeItem(row, 0);
        list_->setItem(row, 0, list_->takeItem(row + offset, 0));
        row += offset;
        list_->setItem(row, 0, moving);
    }
    list_->setCurrentCell(selected.back(), 0,
                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    for (int row : selected)
        list_->selectionModel()->select(list_->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list_->scrollToItem(list_->item(selected.front(), 0));
    list_->setFocus();
}

} // namespace velmora
