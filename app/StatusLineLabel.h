#pragma once

#include "engine/StatusLine.h"

#include <QObject>
#include <QString>

class QLabel;

namespace velmora {

// Keeps a run's status line fitted to its label: the path is shortened in its middle to the label's
// width, again whenever the label's size or font changes; the whole line is its tooltip.
class StatusLineLabel : public QObject {
public:
    explicit StatusLineLabel(QLabel* label);

    void Show(const StatusLine& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fit();

    QLabel* label_;
    StatusLine line_;
    // What Fit wrote last: a label showing anything else now is not fitted again.
    QString fitted_;
};

} // namespace velmora
