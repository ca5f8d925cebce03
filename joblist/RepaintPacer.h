#pragma once

#include <QElapsedTimer>

namespace velmora {

// Paces the event processing of a long fill: processing events after every entry would repaint the
// list once an entry, which costs more than the adding itself. The list's updates are never turned
// off, because a run or a modal dialog started from the processed events lasts inside the fill and
// must paint.
class RepaintPacer {
public:
    // True after the first entry and then at most once a frame: the caller processes its events then.
    bool Due();

private:
    QElapsedTimer sinceEvents_;
};

} // namespace velmora
