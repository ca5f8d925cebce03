// The main window and the PSP: the one-click destination on a mounted stick, the stick the output
// folder was chosen on, and the questions a run asks about them.
#include "app/UnitMain.h"
#include "app/UnitMainRunView.h"

#include "app/GrowingPlacement.h"
#include "app/StickWatcher.h"
#include "app/Unit_common.h"
#include "platform/ErrorReport.h"
#include "platform/MemorySticks.h"
#include "platform/ProfileFile.h"
#include "platform/VolumeSpace.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/LiteralText.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/PathText.h"
#include "platform/qt/SizeText.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStorageInfo>

namespace velmora {

namespace {

constexpr int kStickButtonLeast = 64;
constexpr int kStickButtonMost = 120;

// A label is shown as it is: an '&' in it marks no shortcut.
QString Plain(const QString& text) {
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void TfrmMain::CreateStickControls() {
    // Beside Browse..., in the folder field's room while a stick is there.
    buttonStick = new QPushButton(groupBoxOutput);
    buttonStick->setObjectName(QStringLiteral("buttonStick"));
    buttonStick->hide();
    stickWatcher_ = new StickWatcher(this);
    connect(stickWatcher_, &StickWatcher::SticksChanged, this, Guarded([this] { ShowFoundSticks(); }));
    connect(buttonStick, &QPushButton::clicked, this, Guarded([this] {
                if (stickWatcher_->Sticks().size() == 1)
                    ChooseStick(stickWatcher_->Sticks().front());
            }));
    // The window's growth places the folder field again; the button keeps its room beside Browse...
    growingPlacement_->OnPlaced = [this] { PlaceStickButton(); };
    // Locked with Browse... while a video is being made.
    connect(ActionSetDirectory, &QAction::enabledChanged, buttonStick, &QWidget::setEnabled);
}

void TfrmMain::ShowFoundSticks() {
    const std::vector<FoundStick>& sticks = stickWatcher_->Sticks();
    // The menu may be open right now: it goes once its event is over.
    if (QMenu* previous = buttonStick->menu())
        previous->deleteLater();
    buttonStick->setMenu(nullptr);
    if (sticks.empty()) {
        buttonStick->hide();
        PlaceStickButton();
        return;
    }
    QString caption;
    if (sticks.size() == 1) {
        caption = StringStickButton.arg(sticks.front().label);
        buttonStick->setToolTip(LiteralToolTip(StringStickHint.arg(sticks.front().label)));
    } else {
        caption = StringStickChoice;
        buttonStick->setToolTip(QString());
        auto* menu = new QMenu(buttonStick);
        for (const FoundStick& stick : sticks)
            connect(menu->addAction(Plain(StringStickButton.arg(stick.label))), &QAction::triggered, this,
                    Guarded([this, stick] { ChooseStick(stick); }));
        buttonStick->setMenu(menu);
    }
    const int width =
        std::clamp(buttonStick->fontMetrics().horizontalAdvance(caption) + 16 + (sticks.size() > 1 ? 14 : 0),
                   kStickButtonLeast, kStickButtonMost);
    buttonStick->setText(Plain(buttonStick->fontMetrics().elidedText(caption, Qt::ElideMiddle, width - 12)));
    buttonStick->setAccessibleName(caption);
    buttonStick->resize(width, BitBtnOutput->height());
    buttonStick->show();
    PlaceStickButton();
}

void TfrmMain::PlaceStickButton() {
    const QRect folderField = editOutputFolder->geometry();
    const QRect browse = BitBtnOutput->geometry();
    int right = browse.left() - 1;
    if (!buttonStick->isHidden()) {
        right -= buttonStick->width();
        buttonStick->setGeometry(right, browse.top(), buttonStick->width(), browse.height());
        right -= 1;
    }
    editOutputFolder->setGeometry(folderField.left(), folderField.top(), right - folderField.left(),
                                  folderField.height());
}

void TfrmMain::ChooseStick(const FoundStick& stick) {
    // Made when the run starts, as any output folder is.
    editOutputFolder->setText(TextFromPath(StickVideoFolder(PathFromText(stick.folder))));
}

void TfrmMain::RememberOutputStick() {
    const std::string folder = PathFromText(editOutputFolder->text());
    const ProfileFile& config = common_.Config();
    if (const FoundStick* stick = stickWatcher_->StickHolding(folder)) {
        config.WriteString("setting", "outputStick", PathFromText(stick->folder));
        config.WriteString("setting", "outputStickLabel", stick->label.toStdString());
        return;
    }
    // A folder on the remembered stick stays on it while the stick is away.
    const std::string remembered = config.ReadString("setting", "outputStick", "");
    if (!remembered.empty() && !LiesInFolder(folder, remembered)) {
        config.WriteString("setting", "outputStick", "");
        config.WriteString("setting", "outputStickLabel", "");
    }
}

OutputStick TfrmMain::RunView::RememberedOutputStick() const {
    const ProfileFile& config = window_.common_.Config();
    return {config.ReadString("setting", "outputStick", ""),
            config.ReadString("setting", "outputStickLabel", "")};
}

void TfrmMain::RunView::ShowOutputStickMissing(const OutputStick& stick) {
    const QString name =
        stick.label.empty() ? TextFromPath(stick.folder) : QString::fromStdString(stick.label);
    window_.questions_->ShowWarning(&window_, ApplicationTitle(),
                                    window_.msgStickMissing.arg(name, TextFromPath(stick.folder)));
}

bool TfrmMain::RunView::AskConvertDespiteSpace(const SpaceQuestion& question, const std::string& folder) {
    QString volume;
    if (const FoundStick* stick = window_.stickWatcher_->StickHolding(folder))
        volume = stick->label;
    // The folder itself is made only once the person has said yes.
    else if (const QStorageInfo storage(TextFromPath(NearestExistingPath(folder))); storage.isValid())
        volume = storage.name().isEmpty() ? storage.rootPath() : storage.name();
    const SizeUnits units{window_.StringGigabytes, window_.StringMegabytes, window_.StringKilobytes};
    const QLocale locale;
    QStringList paragraphs;
    if (question.tooLittleRoom)
        paragraphs << window_.msgSpaceShort.arg(
            SizeText(question.needed, SizeRounding::Up, locale, units),
            SizeText(question.available, SizeRounding::Down, locale, units), volume);
    if (!question.tooLargeForFat.empty()) {
        QStringList names;
        for (const std::string& source : question.tooLargeForFat)
            names << TextFromPath(source);
        paragraphs << window_.msgFatTooLarge.arg(
                          volume, SizeText(question.largestVideo, SizeRounding::Up, locale, units)) +
                          QStringLiteral("\n") + names.join(QStringLiteral("\n"));
    }
    paragraphs << window_.msgConvertAnyway;
    return window_.questions_->AskYesNo(&window_, ApplicationTitle(),
                                        paragraphs.join(QStringLiteral("\n\n")));
}

} // namespace velmora
