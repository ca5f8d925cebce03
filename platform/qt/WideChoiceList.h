#pragma once

#include <QComboBox>

namespace velmora {

// A pick-only list whose open list is wide enough for its longest item, however narrow the closed
// list is drawn. In a layout the closed list asks for room for its longest item, and asks again when
// its items change.
class WideChoiceList : public QComboBox {
public:
    explicit WideChoiceList(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;

private:
    int WidestItem(const QFontMetrics& metrics) const;
};

} // namespace velmora
