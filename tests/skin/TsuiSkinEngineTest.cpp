#include "skin/TsuiSkinEngine.h"
#include "platform/Errors.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace velmora::test {
namespace {

const QString kSkinSheet = QStringLiteral("QWidget { background-color: #1e6b3a; color: #ffffff; }");

// The colour a window shows in its top left corner once drawn.
QColor CornerColour(QWidget& window) {
    window.show();
    QApplication::processEvents();
    const QColor colour = window.grab().toImage().pixelColor(3, 3);
    window.hide();
    return colour;
}

// A program folder with its skins/ and an engine on it that searches no data folder of the system.
class SkinEngine : public ::testing::Test {
protected:
    SkinEngine() {
        MakeFolder(folder / "skins");
        WriteTextFile(folder / "skins/Green.ssk", kSkinSheet.toStdString());
        engine = std::make_unique<TsuiSkinEngine>(folder.Path(), folder / "no-data");
    }

    TemporaryFolder folder;
    std::unique_ptr<TsuiSkinEngine> engine;
};

TEST_F(SkinEngine, StartsWithTheLayoutSheetAloneAndTakesItAwayAtTheEnd) {
    EXPECT_EQ(qApp->styleSheet(), TsuiSkinEngine::LayoutStyleSheet());
    EXPECT_EQ(engine->SkinFile(), "");
    engine.reset();
    EXPECT_EQ(qApp->styleSheet(), QString());
}

TEST_F(SkinEngine, FoundSkinRestylesWindowsMadeBeforeAndAfter) {
    QDialog before;
    const QColor bare = CornerColour(before);
    engine->SetSkinFile(folder / "skins/Green.ssk");
    EXPECT_EQ(engine->SkinFile(), folder / "skins/Green.ssk");
    EXPECT_EQ(qApp->styleSheet(), TsuiSkinEngine::LayoutStyleSheet() + kSkinSheet);
    EXPECT_NE(bare, QColor(0x1e6b3a));
    EXPECT_EQ(CornerColour(before), QColor(0x1e6b3a));

    QDialog later;
    EXPECT_EQ(CornerColour(later), QColor(0x1e6b3a));
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Title"), QStringLiteral("Text"), QMessageBox::Ok);
    EXPECT_EQ(CornerColour(box), QColor(0x1e6b3a));
    QFileDialog files(nullptr, QStringLiteral("Open"), QString::fromStdString(folder.Path()));
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(CornerColour(files), QColor(0x1e6b3a));
}

TEST_F(SkinEngine, SkinFoundByNameInTheProgramFolderWhenItsPathIsWrong) {
    WriteTextFile(folder / "Moved.ssk", kSkinSheet.toStdString());
    engine->SetSkinFile(folder / "skins/Moved.ssk");
    EXPECT_EQ(engine->SkinFile(), folder / "Moved.ssk");
}

TEST_F(SkinEngine, MissingSkinChangesNothingAndSaysNothing) {
    engine->SetSkinFile(folder / "skins/Green.ssk");
    const QString skinned = qApp->styleSheet();
    EXPECT_NO_THROW(engine->SetSkinFile(folder / "skins/Gone.ssk"));
    EXPECT_EQ(engine->SkinFile(), folder / "skins/Green.ssk");
    EXPECT_EQ(qApp->styleSheet(), skinned);
}

TEST_F(SkinEngine, UnreadableSkinClearsTheNameAndRaises) {
    // Root reads past permission bits, so the unreadable skins are a folder and a file that fails
    // every read.
    MakeFolder(folder / "skins/Folder.ssk");
    ASSERT_EQ(symlink("/proc/self/mem", (folder / "skins/Mem.ssk").c_str()), 0);
    for (const char* name : {"Folder.ssk", "Mem.ssk"}) {
        engine->SetSkinFile(folder / "skins/Green.ssk");
        EXPECT_THROW(engine->SetSkinFile(folder / "skins/" + name), EInOutError) << name;
        EXPECT_EQ(engine->SkinFile(), "") << name;
        EXPECT_EQ(qApp->styleSheet(), TsuiSkinEngine::LayoutStyleSheet()) << name;
    }
}

} // namespace
} // namespace velmora::test
