#include "app/StatusLineLabel.h"

#include "platform/qt/LiteralText.h"
#include "platform/qt/PathText.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

namespace velmora {

StatusLineLabel::StatusLineLabel(QLabel* label) : QObject(label), label_(label) {
    label_->installEventFilter(this);
}

void StatusLineLabel::Show(const StatusLine& line) {
    line_ = line;
    Fit();
    label_->setToolTip(LiteralToolTip(TextFromPath(line_.Whole())));
}

bool StatusLineLabel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == label_ && !fitted_.isEmpty() && label_->text() == fitted_ &&
        (type == QEvent::Resize || type == QEvent::FontChange || type == QEvent::StyleChange))
        Fit();
    return QObject::eventFilter(watched, event);
}

void StatusLineLabel::Fit() {
    const QFontMetrics metrics = label_->fontMetrics();
    const int width = label_->contentsRect().width() - 2 * label_->margin();
    const QString progress = TextFromPath(line_.progress) + QLatin1Char(' ');
    const std::string path = PathShortenedToFit(line_.path, [&](const std::string& candidate) {
        return metrics.horizontalAdvance(progress + TextFromPath(candidate)) <= width;
    });
    fitted_ = progress + TextFromPath(path);
    label_->setText(fitted_);
}

} // namespace velmora
