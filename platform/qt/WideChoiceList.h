#pragma once

#include <QComboBox>

namespace velmora {

// A pick-only list whose open list is wide enough for its longest item, however narrow the closed
// list is drawn.
class WideChoiceList : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override;
};

} // namespace velmora
