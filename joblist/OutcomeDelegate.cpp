#include "joblist/OutcomeDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kMarkPadding = 6;
constexpr const char* kFilledProperty = "velmoraEditorFilled";

} // namespace

void OutcomeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const QString mark = index.data(MarkRole).toString();
    if (mark.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    QFont markFont = row.font;
    markFont.setBold(index.data(ProblemRole).toBool());
    const QFontMetrics markMetrics(markFont);
    // A mark wider than the whole cell is shortened rather than cut at the cell's edge.
    const QString shownMark =
        markMetrics.elidedText(mark, Qt::ElideRight, std::max(0, option.rect.width() - 2 * kMarkPadding));
    const int markWidth = markMetrics.horizontalAdvance(shownMark) + 2 * kMarkPadding;
    // The style would shorten the path to the whole cell and run it under the mark.
    const int pathWidth = std::max(0, row.rect.width() - markWidth - kMarkPadding);
    row.text = row.fontMetrics.elidedText(row.text, Qt::ElideMiddle, pathWidth);
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &row, painter, widget);

    painter->save();
    painter->setFont(markFont);
    const bool selected = (row.state & QStyle::State_Selected) != 0;
    painter->setPen(row.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect markRect = row.rect.adjusted(row.rect.width() - markWidth, 0, -kMarkPadding, 0);
    painter->drawText(markRect, Qt::AlignRight | Qt::AlignVCenter, shownMark);
    painter->restore();
}

void OutcomeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (editor->property(kFilledProperty).toBool())
        return;
    editor->setProperty(kFilledProperty, true);
    QStyledItemDelegate::setEditorData(editor, index);
}

} // namespace velmora
