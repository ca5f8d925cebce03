// The main window's side of the sound and subtitle preferences: the menu command, the words the
// encoder lines and the probes get, and how the job list tells an entry's tracks.
#include "app/UnitMain.h"

#include "app/LanguageChoice.h"
#include "app/Unit_common.h"
#include "dialogs/TrackSettingsDialog.h"
#include "engine/TrackDescription.h"
#include "engine/TrackPreferences.h"
#include "joblist/JobList.h"
#include "platform/qt/LanguageFile.h"

#include <QAction>

namespace velmora {

std::vector<std::string> TfrmMain::EncoderTrackWords() const {
    return TrackPreferenceWords(ReadTrackPreferences(common_.Config()),
                                WindowLanguageCode(common_.languageId));
}

void TfrmMain::ApplyTrackPreferences() {
    jobList_->SetTrackPreferenceWords(EncoderTrackWords());
    if (dialogs_.frmTracks != nullptr)
        dialogs_.frmTracks->SetWindowLanguage(WindowLanguageCode(common_.languageId));
    UpdatePreview();
}

void TfrmMain::N_TracksClick() {
    TrackSettingsDialog* dialog = dialogs_.frmTracks;
    if (dialog == nullptr)
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TfrmMain::LoadTrackTexts(const LanguageFile& texts) {
    auto text = [&](const char* key) { return texts.Text("frmMain", key).toStdString(); };
    N_Tracks->setText(QString::fromStdString(text("N_Tracks")));
    const TrackTexts words{text("msgTrackSound"),
                           text("msgTrackNoSound"),
                           text("msgTrackSubtitles"),
                           text("msgTrackNoSubtitles"),
                           text("StringTrackUnmarked"),
                           text("StringTrackDefault"),
                           text("StringTrackForced"),
                           text("StringTrackCommentary"),
                           text("msgTrackPicture"),
                           text("StringPictureHdrPq"),
                           text("StringPictureHdrHlg"),
                           text("StringPictureWideGamut"),
                           text("msgTrackPictureDolbyVision5")};
    jobList_->DescribeTracksWith(
        [words](const ProbeAnswer& answer) { return QString::fromUtf8(DescribeTracks(answer, words)); });
}

} // namespace velmora
