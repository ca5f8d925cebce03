#include "joblist/EmptyListHint.h"

#include <QEvent>
#include <QPainter>
#include <QTableWidget>

namespace velmora {

namespace {

constexpr int kHintMargin = 12;

} // namespace

// Owned by the viewport, which goes before the list's model: the model's last signals, sent as the
// list is being destroyed, find no hint left to update.
EmptyListHint::EmptyListHint(QTableWidget* list) : QObject(list->viewport()), list_(list) {
    list_->viewport()->installEventFilter(this);
    QAbstractItemModel* model = list_->model();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, [this] { Update(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { Update(); });
}

void EmptyListHint::SetText(const QString& text) {
    text_ = text;
    Update();
}

void EmptyListHint::Update() {
    const bool empty = list_->rowCount() == 0;
    list_->setAccessibleDescription(empty ? text_ : QString());
    list_->viewport()->update();
}

bool EmptyListHint::eventFilter(QObject* watched, QEvent* event) {
    // Drawn before the list's own painting, which draws nothing over an empty list's background.
    if (event->type() == QEvent::Paint && watched == list_->viewport() && list_->rowCount() == 0 &&
        !text_.isEmpty()) {
        QPainter painter(list_->viewport());
        QColor color = list_->palette().color(QPalette::Text);
        color.setAlphaF(0.6F);
        painter.setPen(color);
        painter.setFont(list_->font());
        painter.drawText(
            list_->viewport()->rect().adjusted(kHintMargin, kHintMargin, -kHintMargin, -kHintMargin),
            Qt::AlignCenter | Qt::TextWordWrap, text_);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora
