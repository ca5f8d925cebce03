// Runs with the desktop in German (LC_ALL=de_DE.UTF-8, set by CTest).
#include "app/LanguageChoice.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QAction>

namespace velmora::test {
namespace {

using FirstStartLanguage = ProgramFolderTest;

TEST_F(FirstStartLanguage, FollowsTheDesktopUntilTheUserPicksAndStoresOnlyThePick) {
    using Case = std::pair<std::string, int32_t>; // the stored file, the language shown
    for (const auto& [config, shown] :
         {Case{"", kLanguageGerman}, Case{"[skin]\nskin=3\n", kLanguageGerman},
          Case{"[common]\nlanguage=2\n", kLanguageEnglish}, Case{"[common]\nlanguage=\n", kLanguageGerman},
          Case{"[common]\nlanguage=9\n", kLanguageRussian}}) {
        SCOPED_TRACE(config);
        if (!config.empty())
            WriteConfig(config);
        TfrmMain& frmMain = Show().frmMain;
        for (QAction* item : frmMain.N_LanguageItems)
            EXPECT_EQ(item->isChecked(), item->data().toInt() == shown) << item->text().toStdString();
        windows.reset();
        if (config.empty())
            EXPECT_FALSE(PathExists(folder / "config.ini")) << "a start stores nothing";
        else
            EXPECT_EQ(ReadTextFile(folder / "config.ini"), config) << "a start stores nothing";
    }
    Show().frmMain.N_LanguageClick(kLanguageFrench);
    EXPECT_EQ(ReadTextFile(folder / "config.ini"), "[common]\nlanguage=4\n");
}

} // namespace
} // namespace velmora::test
