#include "app/GrowingPlacement.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QRadioButton>
#include <QWidget>

#include <algorithm>

namespace velmora {

namespace {

bool IsPushButton(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) != nullptr &&
           qobject_cast<const QCheckBox*>(widget) == nullptr &&
           qobject_cast<const QRadioButton*>(widget) == nullptr;
}

bool SharesRow(const QRect& a, const QRect& b) {
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

QList<QWidget*> PlacedChildren(QWidget* parent) {
    return parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

} // namespace

GrowingPlacement::GrowingPlacement(QWidget* client, QWidget* growing, QSize designed)
    : QObject(client), client_(client), growing_(growing), designed_(designed) {
    const QList<QWidget*> all = client->findChildren<QWidget*>();
    for (QWidget* widget : all)
        if (!widget->isWindow())
            base_.insert(widget, widget->geometry());
    client->installEventFilter(this);
}

bool GrowingPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        Place((client_->size() - designed_).expandedTo(QSize(0, 0)));
        if (OnPlaced)
            OnPlaced();
    }
    return false;
}

void GrowingPlacement::Place(QSize extra) {
    const QRect growingBase = base_.value(growing_);
    // A lone control under the groups (Convert) takes a share of a taller window: it grows and keeps
    // clear of the window's edge, which is the screen's when maximized.
    int reserve = 0;
    for (QWidget* child : PlacedChildren(client_))
        if (base_.contains(child) && base_.value(child).top() > growingBase.bottom() &&
            qobject_cast<QGroupBox*>(child) == nullptr)
            reserve = std::max(reserve, std::min(extra.height() / 8, base_.value(child).height()));
    const int down = extra.height() - reserve;
    growing_->setGeometry(growingBase.adjusted(0, 0, extra.width(), down));
    for (QWidget* child : PlacedChildren(client_)) {
        if (child == growing_ || !base_.contains(child))
            continue;
        QRect rect = base_.value(child);
        if (rect.top() > growingBase.bottom())
            rect.translate(0, down);
        if (qobject_cast<QGroupBox*>(child) != nullptr) {
            rect.setWidth(rect.width() + extra.width());
            PlaceGroupChildren(child, extra.width());
        } else {
            // A lone control under the groups stays centred.
            rect.translate(extra.width() / 2, 0);
            if (rect.top() > growingBase.bottom())
                rect.adjust(-reserve, 0, reserve, reserve / 2);
        }
        child->setGeometry(rect);
    }
}

void GrowingPlacement::PlaceGroupChildren(QWidget* group, int extraWidth) {
    QList<QWidget*> children;
    for (QWidget* child : PlacedChildren(group))
        if (base_.contains(child))
            children << child;
    QList<QWidget*> boxes;
    for (QWidget* child : children)
        if (qobject_cast<QGroupBox*>(child) != nullptr)
            boxes << child;
    std::sort(boxes.begin(), boxes.end(),
              [this](QWidget* a, QWidget* b) { return base_.value(a).left() < base_.value(b).left(); });
    const int groupWidth = base_.value(group).width();
    for (QWidget* child : children) {
        QRect rect = base_.value(child);
        const qsizetype box = boxes.indexOf(child);
        if (box >= 0) {
            const int share = extraWidth / static_cast<int>(boxes.size());
            rect.translate(share * static_cast<int>(box), 0);
            rect.setWidth(rect.width() + share);
            PlaceGroupChildren(child, share);
        } else if (IsPushButton(child)) {
            if (rect.center().x() > groupWidth / 2)
                rect.translate(extraWidth, 0);
        } else {
            const bool rightmost = std::none_of(children.begin(), children.end(), [&](QWidget* other) {
                const QRect peer = base_.value(other);
                return other != child && !IsPushButton(other) && SharesRow(peer, rect) &&
                       peer.left() > rect.left();
            });
            // A drop-down list grows at most to twice its width: wider, its short items would sit
            // far from the arrow that opens it.
            if (rightmost)
                rect.setWidth(rect.width() + (qobject_cast<QComboBox*>(child) != nullptr
                                                  ? std::min(extraWidth, rect.width())
                                                  : extraWidth));
        }
        child->setGeometry(rect);
    }
}

} // namespace velmora
