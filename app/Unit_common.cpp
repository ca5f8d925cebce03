#include "app/Unit_common.h"

#include "app/LanguageChoice.h"
#include "app/SettingsFolder.h"
#include "app/SkinChoice.h"
#include "platform/ErrorReport.h"
#include "platform/FileSystem.h"
#include "platform/qt/DesktopShell.h"
#include "platform/qt/LogindPowerSwitch.h"
#include "skin/TsuiSkinEngine.h"

#include <QLocale>

namespace velmora {

namespace {
constexpr int32_t kDefaultLanguage = kLanguageEnglish;
constexpr int32_t kDefaultWaitTime = 30;
} // namespace

TfrmCommon::TfrmCommon(const std::string& programFolder, DesktopShell* shell, PowerSwitch* powerSwitch)
    : programFolder_(programFolder), ownShell_(shell ? nullptr : std::make_unique<SystemDesktopShell>()),
      shell_(shell ? shell : ownShell_.get()),
      ownPowerSwitch_(powerSwitch ? nullptr : std::make_unique<LogindPowerSwitch>()),
      powerSwitch_(powerSwitch ? powerSwitch : ownPowerSwitch_.get()) {
    setObjectName(QStringLiteral("frmCommon"));
    LoadSettings();
    suiSkinEngine = std::make_unique<TsuiSkinEngine>(appDir);
}

TfrmCommon::~TfrmCommon() = default;

void TfrmCommon::LoadSettings() {
    appDir = WithTrailingSeparator(programFolder_.empty() ? ExecutableFolder() : programFolder_);
    configFile = SettingsFolder(appDir) + "config.ini";
    config_ = ProfileFile(configFile);
    BoundedRead read;
    ProfileContent::Load(configFile, &read);
    // A file that cannot be opened is left to the writes, which report it; one that must not be
    // read at all gets one message, and the program runs on its defaults and leaves it alone.
    if (read.notRegular || read.tooLarge) {
        ReportError(DescribeUnreadFile(configFile, read, kProfileFileLimit) +
                    ".\nThe settings are neither read nor saved");
        config_ = ProfileFile("");
    }
    // Until the user picks one, the language follows the desktop's; nothing is stored for it.
    const std::string storedLanguage = config_.ReadString("common", "language", "");
    languageId = storedLanguage.empty() ? LanguageForLocale(QLocale::system().name().toStdString())
                                        : ProfileTextToInteger(storedLanguage, kDefaultLanguage);
    ChooseLanguageFiles();
}

void TfrmCommon::ChooseLanguageFiles() {
    LanguageChoice choice = ChooseLanguage(languageId, appDir);
    languageFile = choice.languageFile;
    helpFile = choice.helpFile;
    homePageUrl = choice.homePageUrl;
    supportMailUrl = choice.supportMailUrl;
    feedbackUrl = choice.feedbackUrl;
    qtLocale = choice.qtLocale;
}

void TfrmCommon::ChangeLanguage(int32_t id) {
    languageId = id;
    ChooseLanguageFiles();
}

void TfrmCommon::WriteLanguage() const {
    config_.WriteInteger("common", "language", languageId);
}

int TfrmCommon::ReadEncodingChoice(const char* key, int itemCount, int defaultPosition) const {
    const int32_t stored = config_.ReadInteger("setting", key, defaultPosition);
    return stored >= 0 && stored < itemCount ? stored : defaultPosition;
}

void TfrmCommon::WriteEncodingChoice(const char* key, int position) const {
    config_.WriteInteger("setting", key, position);
}

StoredWindowGeometry TfrmCommon::ReadMainWindowGeometry() const {
    auto read = [this](const char* key) { return config_.ReadInteger("window", key, 0); };
    return {QRect(read("left"), read("top"), read("width"), read("height")), read("maximized") == 1};
}

void TfrmCommon::WriteMainWindowGeometry(const StoredWindowGeometry& geometry) const {
    const StoredWindowGeometry stored = ReadMainWindowGeometry();
    if (stored.normal == geometry.normal && stored.maximized == geometry.maximized)
        return;
    config_.WriteInteger("window", "left", geometry.normal.left());
    config_.WriteInteger("window", "top", geometry.normal.top());
    config_.WriteInteger("window", "width", geometry.normal.width());
    config_.WriteInteger("window", "height", geometry.normal.height());
    config_.WriteInteger("window", "maximized", geometry.maximized ? 1 : 0);
}

int32_t TfrmCommon::ReadSkinIndex() const {
    return config_.ReadInteger("skin", "skin", kDefaultSkinIndex);
}

void TfrmCommon::WriteSkinIndex(int32_t index) const {
    config_.WriteInteger("skin", "skin", index);
}

bool TfrmCommon::IsAutoPowerOffOn() const {
    return config_.ReadInteger("setting", "autoPowerOff", 0) == 1;
}

int32_t TfrmCommon::ReadAutoPowerOffWaitTime() const {
    return config_.ReadInteger("setting", "autoPowerOff_WaitTime", kDefaultWaitTime);
}

void TfrmCommon::WriteAutoPowerOff(bool on) const {
    config_.WriteInteger("setting", "autoPowerOff", on ? 1 : 0);
}

void TfrmCommon::WriteAutoPowerOffWaitTime(int32_t seconds) const {
    config_.WriteInteger("setting", "autoPowerOff_WaitTime", seconds);
}

void TfrmCommon::ShutDownComputer(PowerSwitch::FailureReport onFailure) const {
    powerSwitch_->RequestPowerOff(std::move(onFailure));
}

void TfrmCommon::ApplySkin(int32_t index) {
    suiSkinEngine->SetSkinFile(appDir + "skins/" + SkinFileName(index));
}

std::string TfrmCommon::LocalHelpFile() const {
    // A language without its own page opens the English one; with neither, the message names its own.
    const std::string english = EnglishHelpFile(appDir);
    return FileExists(helpFile) || !FileExists(english) ? helpFile : english;
}

bool TfrmCommon::OpenLocalHelp() const {
    return shell_->Open(QString::fromStdString(LocalHelpFile()));
}

bool TfrmCommon::OpenHomePage() const {
    return shell_->Open(QString::fromStdString(homePageUrl));
}

bool TfrmCommon::OpenSupportMail() const {
    return shell_->Open(QString::fromStdString(supportMailUrl));
}

bool TfrmCommon::OpenFeedbackPage() const {
    return shell_->Open(QString::fromStdString(feedbackUrl));
}

} // namespace velmora
