#include "joblist/JobList.h"

#include "joblist/ExtensionRule.h"
#include "joblist/OutcomeDelegate.h"
#include "platform/qt/LiteralText.h"
#include "platform/qt/PathText.h"

#include <QItemSelectionModel>
#include <QTableWidget>

namespace velmora {

namespace {

constexpr int kPathBytesRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;

} // namespace

JobList::JobList(QTableWidget* list) : list_(list) {
    list_->setItemDelegate(new OutcomeDelegate(list_));
}

bool JobList::AddFile(const std::string& path) {
    if (!PassesExtensionRule(path))
        return false;
    const int row = list_->rowCount();
    list_->insertRow(row);
    auto* item = new QTableWidgetItem(TextFromPath(path));
    item->setData(kPathBytesRole, QByteArray::fromStdString(path));
    item->setData(kIdRole, QVariant::fromValue(++lastId_));
    item->setToolTip(LiteralToolTip(item->text()));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    list_->setItem(row, 0, item);
    return true;
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
    const QList<QTableWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first()->row();
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
    item->setData(Qt::AccessibleDescriptionRole, details);
    item->setToolTip(LiteralToolTip(item->text() + QLatin1Char('\n') + details));
}

void JobList::ClearOutcomes() {
    for (int row = 0; row < Count(); ++row) {
        QTableWidgetItem* item = list_->item(row, 0);
        if (item == nullptr || item->data(OutcomeDelegate::MarkRole).isNull())
            continue;
        item->setData(OutcomeDelegate::MarkRole, QVariant());
        item->setData(OutcomeDelegate::ProblemRole, QVariant());
        item->setData(Qt::AccessibleDescriptionRole, QVariant());
        item->setToolTip(LiteralToolTip(item->text()));
    }
}

void JobList::RemoveEntry(int index) {
    list_->removeRow(index);
}

void JobList::RemoveSelected() {
    const std::optional<int> selected = SelectedIndex();
    if (!selected)
        return;
    list_->removeRow(*selected);
    list_->clearSelection();
    list_->selectionModel()->clearCurrentIndex();
}

void JobList::Clear() {
    list_->setRowCount(0);
}

void JobList::MoveSelected(int offset) {
    const std::optional<int> selected = SelectedIndex();
    if (!selected)
        return;
    const int from = *selected;
    const int to = from + offset;
    if (to < 0 || to >= Count())
        return;
    QTableWidgetItem* moving = list_->takeItem(from, 0);
    list_->setItem(from, 0, list_->takeItem(to, 0));
    list_->setItem(to, 0, moving);
    SelectEntry(to);
    list_->setFocus();
}

} // namespace velmora
