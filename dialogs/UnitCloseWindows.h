#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;
class QTimer;

namespace velmora {

class LanguageFile;

// The countdown shown before the computer is powered off at the end of a run.
class TfrmPowerOffWindows : public QDialog {
    Q_OBJECT

public:
    explicit TfrmPowerOffWindows(QWidget* parent);

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    QLabel* labelNotice;
    QPushButton* buttonYes;
    QPushButton* buttonNo;
    QTimer* Timer;

    // The Yes button's language text, the base of its countdown caption.
    QString FYesCaption;
    int32_t FTickCount = 0;
    int32_t FWaitTime = 0;
};

} // namespace velmora
