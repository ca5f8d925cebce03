// What a desktop user expects of any program: the About box, the places of the folder dialogs,
// message boxes that show their title, and windows that grow with the desktop's font.
#include "app/AboutText.h"
#include "joblist/FolderPicker.h"
#include "platform/qt/FolderPlaces.h"
#include "platform/qt/MessageBoxTitle.h"
#include "skin/LayoutScale.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <tuple>

namespace velmora::test {
namespace {

TEST(AboutBox, NamesEveryVersionAndTheLicence) {
    const AboutTexts texts{"Velmora %1", "Licence: L.", "Qt %1, avcodec %2, avformat %3, x264 %4.", "(none)"};
    for (const auto& [versions, libraries] : std::vector<std::pair<LibraryVersions, QString>>{
             {{"6.4.2", "59.37.100", "59.27.100", "164"},
              "Qt 6.4.2, avcodec 59.37.100, avformat 59.27.100, x264 core 164."},
             {{"6.8.2", "61.19.%2", "61.7.100", ""},
              "Qt 6.8.2, avcodec 61.19.%2, avformat 61.7.100, x264 (none)."}})
        EXPECT_EQ(AboutText(texts, "1.0.0", versions), "Velmora 1.0.0\n\nLicence: L.\n\n" + libraries);
    EXPECT_EQ(PackedVersionText((59u << 16) | (37u << 8) | 100u), "59.37.100");
    using Row = std::pair<QString, QString>;
    for (const auto& [file, build] :
         {Row{"/usr/lib/x86_64-linux-gnu/libx264.so.164", "164"}, Row{"libx264.so.155", "155"},
          Row{"/usr/lib/libx264.so", ""}, Row{"/usr/lib/libx265.so.199", ""},
          Row{"/opt/libx264.so.164/libavcodec.so.59", ""}})
        EXPECT_EQ(X264BuildFromFileName(file), build) << file.toStdString();
}

TEST(FolderDialogs, OfferHomeTheDesktopsFoldersAndMountedSticksOnce) {
    // The desktop's own folders, the mounted volumes, the places offered.
    for (const auto& [own, mounts, places] : std::vector<std::tuple<QStringList, QStringList, QStringList>>{
             {{"/home/u/Videos", "/home/u/Desktop"},
              {"/", "/boot", "/media/u/PSP", "/run/media/u/STICK", "/mnt/usb", "/proc", "/media"},
              {"/home/u", "/home/u/Videos", "/home/u/Desktop", "/media/u/PSP", "/run/media/u/STICK",
               "/mnt/usb", "/"}},
             // A desktop folder that is home itself, and a volume mounted twice.
             {{"/home/u/", "/home/u/Videos"},
              {"/mnt", "/mnt/", "/media/u/PSP/", "/media/u/PSP"},
              {"/home/u", "/home/u/Videos", "/mnt", "/media/u/PSP", "/"}}})
        EXPECT_EQ(FolderPlaces("/home/u", own, mounts), places) << mounts.join(' ').toStdString();
}

TEST(LayoutScale, FollowsALargerDesktopFontOnly) {
    for (const auto& [pixels, scale] : std::vector<std::pair<int, double>>{
             {9, 1.0}, {12, 1.0}, {15, 1.25}, {18, 1.5}, {24, 2.0}, {60, 2.5}})
        EXPECT_DOUBLE_EQ(LayoutScaleFor(pixels), scale) << pixels;
}

using Conventions = ProgramFolderTest;

TEST_F(Conventions, MessageBoxesAreWideEnoughForTheirWholeTitle) {
    for (const char* title : {"Velmora PSP Video Converter", "Velmora PSP 動画変換"}) {
        QMessageBox box(QMessageBox::Warning, QString::fromUtf8(title), QStringLiteral("Short."));
        const int bare = box.sizeHint().width();
        FitTitle(box);
        EXPECT_GE(box.sizeHint().width(), TitleFittingWidth(box.windowTitle())) << title;
        EXPECT_GT(TitleFittingWidth(box.windowTitle()), bare) << "a short text alone would cut " << title;
    }
}

TEST_F(Conventions, AboutBoxIsTitledInTheWindowsLanguage) {
    for (const auto& [language, title] : std::vector<std::pair<std::string, QString>>{
             {"2", "About Velmora"}, {"1", "关于 Velmora"}, {"3", "Velmora について"}}) {
        WriteConfig("[common]\nlanguage=" + language + "\n");
        questions.asked.clear();
        Show().frmMain.N_About->trigger();
        ASSERT_EQ(questions.asked.size(), 1u);
        EXPECT_EQ(questions.asked[0].title, title);
        EXPECT_EQ(questions.asked[0].text, QStringLiteral("aboutBox"));
        EXPECT_TRUE(windows->frmMain.AboutBoxText().contains(QString::fromLatin1(qVersion())));
        EXPECT_FALSE(windows->frmMain.comboBoxVideoSize->toolTip().isEmpty());
        windows.reset();
    }
}

TEST_F(Conventions, TheFolderPickersPathFieldTakesATypedFolder) {
    FolderPicker picker;
    picker.show();
    const QString target = QString::fromStdString(folder / "language");
    picker.SelectPath(target);
    EXPECT_EQ(picker.SelectedPath(), target) << "opens with the folder selected";
    int chosen = 0;
    picker.OnChosen = [&] { ++chosen; };
    picker.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
    picker.setFocus();
    QTest::keyClick(&picker, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(picker.PathField()->hasFocus());
    picker.PathField()->setText(QString::fromStdString(folder.Path()));
    QTest::keyClick(picker.PathField(), Qt::Key_Return);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(picker.SelectedPath(), QDir::cleanPath(QString::fromStdString(folder.Path())));
    picker.PathField()->setText(QString::fromStdString(folder / "missing"));
    EXPECT_EQ(picker.SelectedPath(), QString()) << "a path that is no folder is no choice";
}

} // namespace
} // namespace velmora::test
