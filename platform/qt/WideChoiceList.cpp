#include "platform/qt/WideChoiceList.h"

#include <QAbstractItemView>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace velmora {

WideChoiceList::WideChoiceList(QWidget* parent) : QComboBox(parent) {
    // Qt asks its layout again only for lists that resize themselves, which those placed by hand must
    // not do.
    const QAbstractItemModel* items = model();
    connect(items, &QAbstractItemModel::rowsInserted, this, &QWidget::updateGeometry);
    connect(items, &QAbstractItemModel::rowsRemoved, this, &QWidget::updateGeometry);
    connect(items, &QAbstractItemModel::dataChanged, this, &QWidget::updateGeometry);
}

// Qt sizes the closed list from its items' ink, which for a text ending in a full-width bracket is a
// few pixels narrower than the text as drawn: the list asks for the drawn width.
QSize WideChoiceList::sizeHint() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QSize drawn = style()->sizeFromContents(
        QStyle::CT_ComboBox, &option, QSize(WidestItem(fontMetrics()), fontMetrics().height()), this);
    return QComboBox::sizeHint().expandedTo(QSize(drawn.width(), 0));
}

QSize WideChoiceList::minimumSizeHint() const {
    return QComboBox::minimumSizeHint().expandedTo(QSize(sizeHint().width(), 0));
}

int WideChoiceList::WidestItem(const QFontMetrics& metrics) const {
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    return widest;
}

void WideChoiceList::showPopup() {
    QComboBox::showPopup();
    // Qt sizes the popup from the text alone, but a skin draws the items as menu items, padded on
    // both sides; six average characters cover the padding the skins use. Measured at each opening,
    // as a skin or language change since the last one may change the font.
    QAbstractItemView* list = view();
    QWidget* popup = list->parentWidget();
    const QFontMetrics metrics = list->fontMetrics();
    const int widest = WidestItem(metrics);
    const int scrollBar =
        list->verticalScrollBar()->isVisible() ? list->verticalScrollBar()->sizeHint().width() : 0;
    const int needed =
        widest + 6 * metrics.averageCharWidth() + scrollBar + popup->width() - list->viewport()->width();
    if (popup->width() >= needed)
        return;
    QRect placed(popup->pos(), QSize(needed, popup->height()));
    if (const QScreen* shown = popup->screen();
        shown != nullptr && placed.right() > shown->availableGeometry().right())
        placed.moveRight(shown->availableGeometry().right());
    popup->setGeometry(placed);
}

} // namespace velmora
