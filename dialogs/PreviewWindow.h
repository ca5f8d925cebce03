#pragma once

#include "engine/PreviewPicture.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QSlider;
class QTimer;

namespace velmora {

class LanguageFile;
class PreviewPictureMaker;

// Shows what the PSP will show of an entry at a time picked with a slider: the encoder's own output
// frame on the PSP's 480x272 screen (twice that on a large screen).
class PreviewWindow : public QWidget {
public:
    explicit PreviewWindow(const std::string& encoderPath, QWidget* parent = nullptr);

    void LoadLanguageTexts(const LanguageFile& texts);
    // The entry and the choices to show; a change makes a new picture at the time picked.
    void ShowChoice(const PreviewChoice& choice);
    // The time picked, in seconds.
    double PickedSeconds() const;

    QLabel* labelScreen;
    QLabel* labelTime;
    QSlider* sliderTime;
    QLabel* labelTimeText;
    QLabel* labelCrop;
    QLabel* labelStatus;

protected:
    void changeEvent(QEvent* event) override;

private:
    void KeepLineHeights();
    void Pick();
    void MakePicture();
    void ShowPicture(const QImage& frame, const PreviewFacts& facts);
    void ShowFailure(const QString& reason);
    void ShowTime();
    void ShowScreen();
    void ShowTitle();

    PreviewPictureMaker* maker_;
    QTimer* settle_;
    int scale_ = 1;
    PreviewChoice choice_;
    QImage frame_;
    std::optional<PreviewFacts> facts_;
    QString caption_ = QStringLiteral("Preview");
    QString msgCropFound = QStringLiteral("Black bars cropped: %1 \u2192 %2");
    QString msgCropNone = QStringLiteral("No black bars found");
    QString msgCropUnchecked = QStringLiteral("Black bars: could not be checked");
    QString msgMaking = QStringLiteral("Making the picture\u2026");
    QString msgFailed = QStringLiteral("The picture could not be made.");
};

} // namespace velmora
