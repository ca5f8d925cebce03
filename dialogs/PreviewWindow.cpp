#include "dialogs/PreviewWindow.h"

#include "dialogs/PreviewPictureMaker.h"
#include "platform/qt/LanguageFile.h"

#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace velmora {
namespace {

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 272;
// The slider counts tenths of a second.
constexpr double kSteps = 10;
// Pictures are asked for once the slider has rested this long, not for every step it passes.
constexpr int kSettleMilliseconds = 150;

QLabel* PlainLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString SizeText(int width, int height) {
    return QStringLiteral("%1\u00d7%2").arg(width).arg(height);
}

} // namespace

PreviewWindow::PreviewWindow(const std::string& encoderPath, QWidget* parent)
    : QWidget(parent, Qt::Window), maker_(new PreviewPictureMaker(encoderPath, this)),
      settle_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmPreview"));
    // The PSP's pixels one to one, or two to one where the screen has room for them.
    const QScreen* screen = QGuiApplication::primaryScreen();
    scale_ = screen != nullptr && screen->availableGeometry().height() >= 900 ? 2 : 1;

    labelScreen = PlainLabel(this);
    labelScreen->setObjectName(QStringLiteral("labelScreen"));
    labelScreen->setFixedSize(kScreenWidth * scale_, kScreenHeight * scale_);
    labelTime = PlainLabel(this);
    labelTime->setObjectName(QStringLiteral("labelTime"));
    sliderTime = new QSlider(Qt::Horizontal, this);
    sliderTime->setObjectName(QStringLiteral("sliderTime"));
    labelTime->setBuddy(sliderTime);
    labelTimeText = PlainLabel(this);
    labelTimeText->setObjectName(QStringLiteral("labelTimeText"));
    labelCrop = PlainLabel(this);
    labelCrop->setObjectName(QStringLiteral("labelCrop"));
    labelStatus = PlainLabel(this);
    labelStatus->setObjectName(QStringLiteral("labelStatus"));
    labelStatus->setWordWrap(true);
    labelStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    labelCrop->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(labelTime);
    timeRow->addWidget(sliderTime, 1);
    timeRow->addWidget(labelTimeText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelScreen, 0, Qt::AlignHCenter);
    layout->addLayout(timeRow);
    layout->addWidget(labelCrop);
    layout->addWidget(labelStatus);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMilliseconds);
    connect(settle_, &QTimer::timeout, this, [this] { MakePicture(); });
    connect(sliderTime, &QSlider::valueChanged, this, [this] { Pick(); });
    maker_->OnPicture = [this](const QImage& frame, const PreviewFacts& facts) { ShowPicture(frame, facts); };
    maker_->OnFailure = [this](const QString& reason) { ShowFailure(reason); };
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    ShowTime();
    ShowScreen();
    KeepLineHeights();
}

void PreviewWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        KeepLineHeights();
}

void PreviewWindow::KeepLineHeights() {
    // The lines under the picture keep their room when empty, so the window never changes size while
    // it makes a picture or fails to: one line for the crop, two for the encoder's reason.
    const int line = labelCrop->fontMetrics().lineSpacing();
    const int frame = labelCrop->contentsMargins().top() + labelCrop->contentsMargins().bottom();
    labelCrop->setFixedHeight(line + frame);
    labelStatus->setFixedHeight(2 * line + frame);
}

void PreviewWindow::LoadLanguageTexts(const LanguageFile& texts) {
    auto text = [&](const char* key) { return texts.Text("frmPreview", key); };
    caption_ = text("caption");
    labelTime->setText(text("labelTime"));
    sliderTime->setAccessibleName(QString(labelTime->text()).remove(QLatin1Char('&')));
    msgCropFound = text("msgCropFound");
    msgCropNone = text("msgCropNone");
    msgCropUnchecked = text("msgCropUnchecked");
    msgMaking = text("msgMaking");
    msgFailed = text("msgFailed");
    labelScreen->setAccessibleName(caption_);
    ShowTitle();
    if (facts_)
        ShowPicture(frame_, *facts_);
}

void PreviewWindow::ShowChoice(const PreviewChoice& choice) {
    if (choice == choice_ && (maker_->Busy() || !frame_.isNull()))
        return;
    const bool otherEntry = choice.source != choice_.source;
    choice_ = choice;
    const int steps = static_cast<int>(std::floor(choice.duration.value_or(0) * kSteps));
    const QSignalBlocker quiet(sliderTime);
    sliderTime->setEnabled(steps > 0);
    sliderTime->setRange(0, steps);
    sliderTime->setSingleStep(static_cast<int>(kSteps));
    sliderTime->setPageStep(std::max(static_cast<int>(kSteps), steps / 10));
    if (otherEntry)
        sliderTime->setValue(0);
    ShowTitle();
    ShowTime();
    // A choice is made at once; only the slider's steps wait to settle.
    settle_->stop();
    MakePicture();
}

double PreviewWindow::PickedSeconds() const {
    return sliderTime->value() / kSteps;
}

void PreviewWindow::Pick() {
    ShowTime();
    settle_->start();
}

void PreviewWindow::MakePicture() {
    if (choice_.source.empty())
        return;
    labelStatus->setText(msgMaking);
    maker_->Make(choice_, PickedSeconds());
}

void PreviewWindow::ShowPicture(const QImage& frame, const PreviewFacts& facts) {
    frame_ = frame;
    facts_ = facts;
    labelStatus->clear();
    labelStatus->setToolTip(QString());
    // The encoder tells what it found when it looked itself; else the entry's probe does.
    const std::optional<CropFinding> crop = facts.crop ? facts.crop : choice_.probedCrop;
    if (!choice_.cropBlackBars)
        labelCrop->clear();
    else if (crop && crop->outcome == CropFinding::Outcome::Found)
        labelCrop->setText(msgCropFound.arg(SizeText(facts.sourceWidth, facts.sourceHeight),
                                            SizeText(crop->width, crop->height)));
    else if (crop && crop->Judged())
        labelCrop->setText(msgCropNone);
    else
        labelCrop->setText(msgCropUnchecked);
    ShowScreen();
}

void PreviewWindow::ShowFailure(const QString& reason) {
    frame_ = QImage();
    facts_.reset();
    labelCrop->clear();
    labelStatus->setText(reason.isEmpty() ? msgFailed : reason);
    labelStatus->setToolTip(labelStatus->text());
    ShowScreen();
}

void PreviewWindow::ShowTime() {
    labelTimeText->setText(QString::fromStdString(ClockText(PickedSeconds())) + QStringLiteral(" / ") +
                           QString::fromStdString(ClockText(choice_.duration.value_or(0))));
}

void PreviewWindow::ShowScreen() {
    QPixmap screen(kScreenWidth * scale_, kScreenHeight * scale_);
    screen.fill(Qt::black);
    if (!frame_.isNull()) {
        // The PSP fills its screen with any frame size, keeping the frame's shape.
        const QSize shown = frame_.size().scaled(screen.size(), Qt::KeepAspectRatio);
        const QRect place(
            QPoint((screen.width() - shown.width()) / 2, (screen.height() - shown.height()) / 2), shown);
        QPainter painter(&screen);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, shown != frame_.size() * scale_);
        painter.drawImage(place, frame_);
    }
    labelScreen->setPixmap(screen);
}

void PreviewWindow::ShowTitle() {
    const QString name = QFileInfo(QString::fromStdString(choice_.source)).fileName();
    setWindowTitle(name.isEmpty() ? caption_ : caption_ + QStringLiteral(" \u2014 ") + name);
}

} // namespace velmora
