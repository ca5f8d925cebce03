// Runs with the desktop in German (LC_ALL=de_DE.UTF-8, set by CTest).
#include "app/LanguageChoice.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QAction>

namespace velmora::test {
namespace {

using FirstStartLanguage = ProgramFolderTest;

TEST_F(FirstStartLanguage, FollowsTheDesktopUntilTheUserPicksAndStoresOnlyThePick) {
    struct Case {
        const char* config;
        int32_t shown;
    };
    for (Case c :
         {Case{"", kLanguageGerman}, Case{"[skin]\nskin=3\n", kLanguageGerman},
          Case{"[common]\nlanguage=2\n", kLanguageEnglish}, Case{"[common]\nlanguage=\n", kLanguageGerman},
          Case{"[common]\nlanguage=9\n", kLanguageRussian}}) {
        SCOPED_TRACE(c.config);
        if (*c.config != '\0')
            WriteConfig(c.config);
        TfrmMain& frmMain = Show().frmMain;
        for (QAction* item : frmMain.N_LanguageItems)
            EXPECT_EQ(item->isChecked(), item->data().toInt() == c.shown) << item->text().toStdString();
        windows.reset();
        if (*c.config == '\0')
            EXPECT_FALSE(PathExists(folder / "config.ini")) << "a start stores nothing";
        else
            EXPECT_EQ(ReadTextFile(folder / "config.ini"), c.config) << "a start stores nothing";
    }
    Show().frmMain.N_LanguageClick(kLanguageFrench);
    EXPECT_EQ(ReadTextFile(folder / "config.ini"), "[common]\nlanguage=4\n");
}

} // namespace
} // namespace velmora::test
