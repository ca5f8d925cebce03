#include "app/UnitMain.h"

#include "engine/QueueEstimate.h"

namespace velmora {

QString TfrmMain::QueueProgressText(const QueueStatus& status) const {
    QString text = msgQueueStatus.arg(QString::number(status.filesDone), QString::number(status.fileCount),
                                      QString::number(status.percent));
    if (!status.secondsLeft)
        return text;
    const TimeLeftShown shown = ShownTimeLeft(*status.secondsLeft);
    const QString left = shown.underAMinute ? msgQueueLeftMoment
                         : shown.hours == 0 ? msgQueueLeftMinutes.arg(shown.minutes)
                                            : msgQueueLeftHours.arg(QString::number(shown.hours),
                                                                    QString::number(shown.minutes));
    return text + QStringLiteral("  \u00b7  ") + left;
}

} // namespace velmora
