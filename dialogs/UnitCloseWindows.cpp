#include "dialogs/UnitCloseWindows.h"

#include "dialogs/AutoPowerOffServices.h"
#include "platform/ErrorReport.h"
#include "platform/qt/JapaneseFont.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/LiteralText.h"
#include "platform/qt/WindowPlacement.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>
#include <utility>

namespace velmora {

TfrmPowerOffWindows::TfrmPowerOffWindows(QWidget* parent, const AutoPowerOffServices& common)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      common_(common) {
    setObjectName(QStringLiteral("frmPowerOffWindows"));
    setFixedSize(283, 118);

    labelNotice = new QLabel(QStringLiteral("labelNotice"), this);
    labelNotice->setObjectName(QStringLiteral("labelNotice"));
    labelNotice->setGeometry(17, 14, 249, 41);
    // Wrapped, since a refusal's reason is longer than the notice.
    labelNotice->setWordWrap(true);
    // A refusal's reason is shown as it came, never read as markup.
    labelNotice->setTextFormat(Qt::PlainText);

    buttonYes = new QPushButton(QStringLiteral("Yes"), this);
    buttonYes->setObjectName(QStringLiteral("buttonYes"));
    buttonYes->setGeometry(40, 74, 92, 27);

    buttonNo = new QPushButton(QStringLiteral("No"), this);
    buttonNo->setObjectName(QStringLiteral("buttonNo"));
    buttonNo->setGeometry(151, 74, 92, 27);
    buttonNo->setDefault(true);

    buttonReport = new QPushButton(QStringLiteral("Show report..."), this);
    buttonReport->setObjectName(QStringLiteral("buttonReport"));
    buttonReport->setGeometry(40, 110, 203, 27);
    buttonReport->setAutoDefault(false);
    buttonReport->hide();

    setTabOrder(buttonYes, buttonNo);
    setTabOrder(buttonNo, buttonReport);
    buttonYes->setFocus();

    // Yes leaves the window up, so that a refusal arriving later is seen; No closes it.
    connect(buttonYes, &QPushButton::clicked, this, Guarded([this] { buttonYesClick(); }));
    // buttonNoClick's hide ends exec with the Rejected result exec starts from.
    connect(buttonNo, &QPushButton::clicked, this, Guarded([this] { buttonNoClick(); }));
    connect(buttonReport, &QPushButton::clicked, this, Guarded([this] {
                if (FRun.showReport)
                    FRun.showReport();
            }));

    UseTimer(std::make_unique<QtTickTimer>(1000));
}

void TfrmPowerOffWindows::UseTimer(std::unique_ptr<TickTimer> timer) {
    Timer = std::move(timer);
    Timer->SetEnabled(false);
    Timer->OnTimer = [this] { RunGuarded([this] { TimerTimer(); }); };
}

void TfrmPowerOffWindows::ShowCountdown(CountdownRun run) {
    FRun = std::move(run);
    const bool reportable = static_cast<bool>(FRun.showReport);
    buttonReport->setVisible(reportable);
    setFixedSize(283, reportable ? 150 : 118);
    exec();
}

void TfrmPowerOffWindows::showEvent(QShowEvent* event) {
    if (opening_.Opens(*event)) {
        CentreOnParent(*this);
        buttonYes->setFocus();
        RunGuarded([this] { FormShow(); });
    }
    QDialog::showEvent(event);
}

void TfrmPowerOffWindows::hideEvent(QHideEvent* event) {
    opening_.Closed(*event);
    QDialog::hideEvent(event);
}

void TfrmPowerOffWindows::keyPressEvent(QKeyEvent* event) {
    // No button cancels: Esc must not end the countdown's showing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmPowerOffWindows::FormShow() {
    Timer->SetEnabled(true);
    FTickCount = 0;
    FWaitTime = common_.ReadAutoPowerOffWaitTime();
    FRequestPending = false;
    ++FShowing;
    // The person away while it counts learns here that something failed.
    labelNotice->setText(FRun.allConverted ? FNoticeText
                                           : FOutcomeFormat.arg(QString::number(FRun.converted),
                                                                QString::number(FRun.queued),
                                                                QString::number(FRun.failed)) +
                                                 QLatin1Char(' ') + FQuestionText);
    labelNotice->setToolTip(QString());
}

void TfrmPowerOffWindows::TimerTimer() {
    FTickCount = FTickCount + 1;
    const int64_t remaining = std::max<int64_t>(0, static_cast<int64_t>(FWaitTime) - FTickCount);
    buttonYes->setText(FYesCaption + QStringLiteral("(") + QString::number(remaining) + QStringLiteral(")"));
    if (FTickCount >= FWaitTime)
        RequestPowerOff();
}

void TfrmPowerOffWindows::buttonYesClick() {
    RequestPowerOff();
}

void TfrmPowerOffWindows::RequestPowerOff() {
    Timer->SetEnabled(false);
    if (FRequestPending)
        return;
    FRequestPending = true;
    if (FRun.keepReport)
        FRun.keepReport();
    // The answer may come after this window is gone, or after a later showing has begun.
    common_.ShutDownComputer([self = QPointer(this), showing = FShowing](const std::string& reason) {
        if (self && self->FShowing == showing)
            RunGuarded([&] { self->PowerOffFailed(reason); });
    });
}

void TfrmPowerOffWindows::PowerOffFailed(const std::string& reason) {
    FRequestPending = false;
    if (FRun.dropReport)
        FRun.dropReport();
    const QString text = FFailedFormat.arg(QString::fromStdString(reason));
    labelNotice->setText(text);
    labelNotice->setToolTip(LiteralToolTip(text));
}

void TfrmPowerOffWindows::buttonNoClick() {
    Timer->SetEnabled(false);
    FTickCount = 0;
    hide();
}

void TfrmPowerOffWindows::LoadLanguageTexts(const LanguageFile& texts) {
    const char* section = "frmPowerOffWindows";
    setWindowTitle(texts.Text(section, "caption"));
    FNoticeText = texts.Text(section, "labelNotice");
    labelNotice->setText(FNoticeText);
    FFailedFormat = texts.Text(section, "labelFailed");
    FOutcomeFormat = texts.Text(section, "labelOutcome");
    FQuestionText = texts.Text(section, "labelQuestion");
    buttonReport->setText(texts.Text(section, "buttonReport"));
    buttonYes->setText(texts.Text(section, "buttonYes"));
    FYesCaption = texts.Text(section, "buttonYes");
    buttonNo->setText(texts.Text(section, "buttonNo"));
}

void TfrmPowerOffWindows::ApplyJapaneseCharset() {
    for (QWidget* control : std::initializer_list<QWidget*>{labelNotice, buttonYes, buttonNo, buttonReport})
        UseJapaneseFont(control);
}

} // namespace velmora
