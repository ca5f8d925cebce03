#pragma once

#include "app/WindowGeometry.h"
#include "dialogs/AutoPowerOffServices.h"
#include "platform/ProfileFile.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

namespace velmora {

class DesktopShell;
class PowerSwitch;
class TsuiSkinEngine;

// The shared services behind every window: where the program and its files are, the language
// choice, the accessors of config.ini and the power-off. It has no window of its own.
class TfrmCommon : public QObject, public AutoPowerOffServices {
    Q_OBJECT

public:
    // programFolder: the folder config.ini and language/ live in, with a trailing '/'; the
    // executable's folder by default. shell: what opens pages and files; the desktop's by default.
    // powerSwitch: what powers the computer off; logind's by default.
    explicit TfrmCommon(const std::string& programFolder = std::string(), DesktopShell* shell = nullptr,
                        PowerSwitch* powerSwitch = nullptr);
    ~TfrmCommon() override;

    // Fills the fields below; run once, by the constructor.
    void LoadSettings();

    // Makes the language number the one whose files the fields below name; WriteLanguage stores it.
    void ChangeLanguage(int32_t languageId);
    void WriteLanguage() const;

    // The position an encoding list starts on: the stored one, or the default when it is missing or
    // outside the list.
    int ReadEncodingChoice(const char* key, int itemCount, int defaultPosition) const;
    void WriteEncodingChoice(const char* key, int position) const;
    StoredWindowGeometry ReadMainWindowGeometry() const;
    void WriteMainWindowGeometry(const StoredWindowGeometry& geometry) const;

    int32_t ReadSkinIndex() const;
    void WriteSkinIndex(int32_t index) const;
    bool IsAutoPowerOffOn() const override;
    int32_t ReadAutoPowerOffWaitTime() const override;
    void WriteAutoPowerOff(bool on) const override;
    void WriteAutoPowerOffWaitTime(int32_t seconds) const override;
    void ShutDownComputer(PowerSwitch::FailureReport onFailure) const override;

    // Restyles every window with skin number index (any number outside the table: the default skin).
    void ApplySkin(int32_t index);
    // The help targets of the language, opened with the desktop's program for them; false when it
    // has none.
    std::string LocalHelpFile() const;
    bool OpenLocalHelp() const;
    bool OpenHomePage() const;
    bool OpenSupportMail() const;
    bool OpenFeedbackPage() const;

    const ProfileFile& Config() const { return config_; }
    DesktopShell& Shell() const { return *shell_; }

    std::string appDir;
    std::string configFile;
    int32_t languageId = 0;
    std::string languageFile;
    std::string helpFile;
    std::string homePageUrl;
    std::string supportMailUrl;
    std::string feedbackUrl;
    std::string qtLocale;
    std::unique_ptr<TsuiSkinEngine> suiSkinEngine;

private:
    void ChooseLanguageFiles();

    std::string programFolder_;
    ProfileFile config_{""};
    std::unique_ptr<DesktopShell> ownShell_;
    DesktopShell* shell_;
    std::unique_ptr<PowerSwitch> ownPowerSwitch_;
    PowerSwitch* powerSwitch_;
};

} // namespace velmora
