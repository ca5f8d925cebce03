#pragma once

#include "app/ProgramWindows.h"
#include "platform/ErrorReport.h"
#include "platform/qt/DesktopShell.h"
#include "tests/support/RecordingErrorReporter.h"
#include "tests/support/RecordingPowerSwitch.h"
#include "tests/support/RecordingQuestions.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

class RecordingDesktopShell : public DesktopShell {
public:
    bool Open(const QString& target) override {
        opened.push_back(target);
        return opens;
    }
    std::vector<QString> opened;
    bool opens = true; // false: the desktop has no program for anything
};

// A program folder of its own in a temporary folder, with a copy of the shipped language files, and
// the windows started on it. Power-off requests only reach powerSwitch.
class ProgramFolderTest : public ::testing::Test {
protected:
    ProgramFolderTest();
    ~ProgramFolderTest() override;

    // Starts the windows as the program does, without showing them.
    ProgramWindows& Start(const std::string& programFolder = std::string());
    // Starts and shows the main window, which loads its texts and the output folder.
    ProgramWindows& Show(const std::string& programFolder = std::string());

    void WriteConfig(const std::string& content) const { WriteTextFile(folder / "config.ini", content); }
    void WriteLanguageFile(const std::string& name, const std::string& content) const {
        WriteTextFile(folder / "language/" + name, content);
    }
    // Copies the shipped skin of that number into skins/.
    void CopyShippedSkin(int32_t number) const;

    TemporaryFolder folder;
    RecordingErrorReporter errors;
    RecordingDesktopShell shell;
    // Every modal question of the windows goes here, so no test waits on a dialog.
    RecordingQuestions questions;
    RecordingPowerSwitch powerSwitch;
    std::unique_ptr<ProgramWindows> windows;
};

} // namespace velmora::test
