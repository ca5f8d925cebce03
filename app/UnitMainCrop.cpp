// The main window's side of cropping the sources' black bars: the check box, stored in config.ini, and
// the words both encoder lines get for it.
#include "app/UnitMain.h"
#include "app/UnitMainRunView.h"
#include "app/Unit_common.h"
#include "engine/CropSetting.h"
#include "joblist/JobList.h"
#include "platform/ErrorReport.h"
#include "platform/qt/LanguageFile.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QSignalBlocker>

namespace velmora {

void TfrmMain::CreateCropControl() {
    checkBoxCropBlackBars = new QCheckBox(QStringLiteral("Crop black bars"), groupBoxSettings);
    checkBoxCropBlackBars->setObjectName(QStringLiteral("checkBoxCropBlackBars"));
    checkBoxCropBlackBars->setGeometry(11, 106, 386, 17);
    checkBoxCropBlackBars->setChecked(true);
    // Only the user's choice is stored: a start that changes nothing leaves config.ini as it was.
    connect(checkBoxCropBlackBars, &QCheckBox::clicked, this, [this](bool checked) {
        RunGuarded([&] { WriteCropBlackBars(common_.Config(), checked); });
        UpdatePreview();
    });
}

void TfrmMain::RestoreCropChoice() {
    const QSignalBlocker quiet(checkBoxCropBlackBars);
    checkBoxCropBlackBars->setChecked(ReadCropBlackBars(common_.Config()));
}

void TfrmMain::LoadCropTexts(const LanguageFile& texts) {
    checkBoxCropBlackBars->setText(texts.Text("frmMain", "checkBoxCropBlackBars"));
}

// The box, not config.ini: a choice that could not be stored still holds for this session.
std::vector<std::string> TfrmMain::EncoderCropWords(const std::optional<CropFinding>& found) const {
    return CropWords(checkBoxCropBlackBars->isChecked(), found);
}

std::vector<std::string> TfrmMain::RunView::EncoderPictureWords(EntryId id) const {
    const std::optional<int> position = PositionOfEntry(*this, id);
    return window_.EncoderCropWords(position ? window_.Jobs().EntryCrop(*position) : std::nullopt);
}

} // namespace velmora
