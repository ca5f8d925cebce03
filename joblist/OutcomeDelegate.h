#pragma once

#include <QStyledItemDelegate>

namespace velmora {

// Draws a row's path with its outcome mark beside it, at the right: the path is shortened in the
// middle to make room, so the mark always shows whole.
class OutcomeDelegate : public QStyledItemDelegate {
public:
    // The mark's text; no mark when empty.
    static constexpr int MarkRole = Qt::UserRole + 10;
    // True when the outcome needs attention: the mark is drawn bold.
    static constexpr int ProblemRole = Qt::UserRole + 11;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // Fills an editor only as it opens: a change of the row meanwhile (a length learnt, an outcome
    // shown) never replaces what the person is typing.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
};

} // namespace velmora
