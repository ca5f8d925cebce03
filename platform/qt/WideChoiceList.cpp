#include "platform/qt/WideChoiceList.h"

#include <QAbstractItemView>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace velmora {

void WideChoiceList::showPopup() {
    QComboBox::showPopup();
    // Qt sizes the popup from the text alone, but a skin draws the items as menu items, padded on
    // both sides; six average characters cover the padding the skins use. Measured at each opening,
    // as a skin or language change since the last one may change the font.
    QAbstractItemView* list = view();
    QWidget* popup = list->parentWidget();
    const QFontMetrics metrics = list->fontMetrics();
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
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
