// The skin menu and the help menu of the main window.
#include "app/UnitMain.h"

#include "app/Unit_common.h"
#include "platform/ErrorReport.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/PathText.h"

#include <QAction>

namespace velmora {

void TfrmMain::ConnectSkinAndHelpCommands() {
    for (size_t i = 0; i < N_SkinItems.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        N_SkinItems[i]->setCheckable(false);
        connect(N_SkinItems[i], &QAction::triggered, this, Guarded([this, number] { N_SkinClick(number); }));
    }
    connect(N_LocalHelp, &QAction::triggered, this, Guarded([this] { N_LocalHelpClick(); }));
    connect(N_HomePage, &QAction::triggered, this, Guarded([this] { N_HomePageClick(); }));
    connect(N_Support, &QAction::triggered, this, Guarded([this] { N_SupportClick(); }));
    connect(N_FeedBack, &QAction::triggered, this, Guarded([this] { N_FeedBackClick(); }));
    connect(N_Update, &QAction::triggered, this, Guarded([this] { N_UpdateClick(); }));
}

void TfrmMain::N_SkinClick(int number) {
    // A skin that cannot be read raises here, and its number is not stored.
    common_.ApplySkin(number);
    common_.WriteSkinIndex(number);
}

void TfrmMain::ReportNotOpened(bool opened, const QString& target) {
    if (!opened)
        questions_->ShowWarning(this, ApplicationTitle(), msgCannotOpen + QStringLiteral("\n\n") + target);
}

void TfrmMain::N_LocalHelpClick() {
    ReportNotOpened(common_.OpenLocalHelp(), TextFromPath(common_.LocalHelpFile()));
}

void TfrmMain::N_HomePageClick() {
    ReportNotOpened(common_.OpenHomePage(), QString::fromStdString(common_.homePageUrl));
}

void TfrmMain::N_SupportClick() {
    ReportNotOpened(common_.OpenSupportMail(), QString::fromStdString(common_.supportMailUrl));
}

void TfrmMain::N_FeedBackClick() {
    ReportNotOpened(common_.OpenFeedbackPage(), QString::fromStdString(common_.feedbackUrl));
}

void TfrmMain::N_UpdateClick() {
    N_HomePageClick();
}

} // namespace velmora
