#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

namespace velmora {

// While a long fill adds entry after entry, lets the widget paint at most once a frame: painting
// after every entry would cost more than the adding itself.
class RepaintPacer {
public:
    explicit RepaintPacer(QWidget* widget);
    ~RepaintPacer();
    RepaintPacer(const RepaintPacer&) = delete;
    RepaintPacer& operator=(const RepaintPacer&) = delete;

    // Call after each entry, before events are processed.
    void Pace();

private:
    QPointer<QWidget> widget_;
    QElapsedTimer sincePaint_;
    bool wasEnabled_;
};

} // namespace velmora
