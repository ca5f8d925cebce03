#pragma once

#include <QObject>
#include <QString>

class QTableWidget;

namespace velmora {

// While the list is empty, its viewport shows how to fill it, and the list's accessible description
// says the same.
class EmptyListHint : public QObject {
public:
    explicit EmptyListHint(QTableWidget* list);

    void SetText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The description and the painted hint follow whether the list is empty.
    void Update();

    QTableWidget* list_;
    QString text_;
};

} // namespace velmora
