#include "app/WideChoiceList.h"

#include <QAbstractItemView>
#include <QScrollBar>

namespace velmora {

void WideChoiceList::showPopup() {
    // Measured at each opening: a skin or language change since the last one may change the font.
    QAbstractItemView* list = view();
    const int scrollBar =
        list->verticalScrollBar()->isVisible() ? list->verticalScrollBar()->sizeHint().width() : 0;
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar);
    QComboBox::showPopup();
}

} // namespace velmora
