#include "tests/app/ProgramFolderFixture.h"

#include "app/SkinChoice.h"

namespace velmora::test {

ProgramFolderTest::ProgramFolderTest() {
    CopyShippedLanguageFiles(VELMORA_SOURCE_DIR, folder.Path());
}

ProgramFolderTest::~ProgramFolderTest() {
    windows.reset();
}

void ProgramFolderTest::CopyShippedSkin(int32_t number) const {
    MakeFolder(folder / "skins");
    WriteTextFile(folder / "skins/" + SkinFileName(number),
                  ReadTextFile(std::string(VELMORA_SOURCE_DIR) + "/resources/skins/" + SkinFileName(number)));
}

ProgramWindows& ProgramFolderTest::Start(const std::string& programFolder) {
    windows = std::make_unique<ProgramWindows>(programFolder.empty() ? folder.Path() : programFolder, &shell,
                                               &powerSwitch);
    windows->frmMain.SetQuestions(&questions);
    return *windows;
}

ProgramWindows& ProgramFolderTest::Show(const std::string& programFolder) {
    Start(programFolder);
    windows->frmMain.show();
    return *windows;
}

} // namespace velmora::test
