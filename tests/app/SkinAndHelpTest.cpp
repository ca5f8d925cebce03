#include "app/LanguageChoice.h"
#include "app/SkinChoice.h"
#include "skin/TsuiSkinEngine.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLineEdit>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <tuple>

namespace velmora::test {
namespace {

// Takes what the desktop would have opened, so that no browser or mail program starts.
class OpenedUrls : public QObject {
    Q_OBJECT

public:
    OpenedUrls() {
        for (const char* scheme : {"https", "http", "mailto", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Record");
    }
    ~OpenedUrls() override {
        for (const char* scheme : {"https", "http", "mailto", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    QStringList urls;

public slots:
    void Record(const QUrl& url) { urls << url.toString(); }
};

// A program folder with the shipped skins in skins/.
class Skins : public ProgramFolderTest {
protected:
    Skins() {
        for (int32_t n = 1; n <= kSkinCount; ++n)
            CopyShippedSkin(n);
    }
    std::string SkinPath(int32_t n) const { return folder / "skins/" + SkinFileName(n); }
    std::string SkinInUse() const { return windows->frmCommon.suiSkinEngine->SkinFile(); }
    std::string StoredSkin() const { return windows->frmCommon.Config().ReadString("skin", "skin", "none"); }
};

TEST_F(Skins, FileNamesFollowTheTableAndEveryOtherNumberIsSilver) {
    const std::vector<std::pair<int32_t, std::string>> table{
        {1, "Calmness.ssk"},   {2, "DiamondBlue.ssk"},   {3, "DiamondGreen.ssk"}, {4, "GlassGreen.ssk"},
        {5, "Longhorn.ssk"},   {6, "MacOS.ssk"},         {7, "MP10.ssk"},         {8, "MSN.ssk"},
        {9, "OneBlue.ssk"},    {10, "Silver.ssk"},       {11, "SportsBlack.ssk"}, {12, "SportsBlue.ssk"},
        {13, "Midsummer.ssk"}, {14, "Emerald.ssk"},      {15, "Warm.ssk"},        {16, "XPBlue.ssk"},
        {17, "XPGreen.ssk"},   {18, "XPSilver.ssk"},     {0, "Silver.ssk"},       {19, "Silver.ssk"},
        {-1, "Silver.ssk"},    {INT32_MIN, "Silver.ssk"}};
    for (const auto& [index, name] : table)
        EXPECT_EQ(SkinFileName(index), name) << index;
}

TEST_F(Skins, StoredNumberChoosesTheSkinAtStart) {
    // The stored text, the skin shown, and what stays in the file (nothing is written back).
    const std::vector<std::tuple<std::string, int32_t, std::string>> cases{
        {"", 10, "none"},        {"skin=0", 10, "0"}, {"skin=19", 10, "19"}, {"skin=-1", 10, "-1"},
        {"skin=abc", 10, "abc"}, {"skin=3", 3, "3"},  {"skin=18", 18, "18"}, {"skin=0x5", 5, "0x5"},
    };
    for (const auto& [stored, shown, kept] : cases) {
        WriteConfig("[skin]\n" + stored + "\n");
        Show();
        EXPECT_EQ(SkinInUse(), SkinPath(shown)) << stored;
        EXPECT_EQ(StoredSkin(), kept) << stored;
        windows.reset();
    }
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(Skins, EachCommandAppliesItsSkinThenStoresItsNumberAndMarksItAlone) {
    TfrmMain& frmMain = Show().frmMain;
    const auto marked = [&] {
        std::vector<int32_t> numbers;
        for (int32_t n = 1; n <= kSkinCount; ++n)
            if (frmMain.N_SkinItems[static_cast<size_t>(n - 1)]->isChecked())
                numbers.push_back(n);
        return numbers;
    };
    EXPECT_EQ(marked(), std::vector<int32_t>{kDefaultSkinIndex}) << "the first start's look";
    for (int32_t n = 1; n <= kSkinCount; ++n) {
        frmMain.N_SkinItems[static_cast<size_t>(n - 1)]->trigger();
        EXPECT_EQ(SkinInUse(), SkinPath(n));
        EXPECT_EQ(StoredSkin(), std::to_string(n));
        EXPECT_EQ(marked(), std::vector<int32_t>{n});
    }
    frmMain.N_SkinItems[3]->trigger();
    frmMain.N_SkinItems[3]->trigger();
    EXPECT_EQ(marked(), std::vector<int32_t>{4}) << "choosing the skin in use keeps it marked";
    frmMain.N_SkinDefault->trigger();
    EXPECT_EQ(SkinInUse(), SkinPath(kDefaultSkinIndex));
    EXPECT_EQ(StoredSkin(), std::to_string(kDefaultSkinIndex));
    EXPECT_EQ(marked(), std::vector<int32_t>{kDefaultSkinIndex});
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(Skins, MissingSkinKeepsTheLookAndIsStoredAnyway) {
    unlink(SkinPath(15).c_str());
    TfrmMain& frmMain = Show().frmMain;
    const QString look = qApp->styleSheet();
    frmMain.N_SkinItems[14]->trigger();
    EXPECT_EQ(SkinInUse(), SkinPath(10));
    EXPECT_EQ(qApp->styleSheet(), look);
    EXPECT_FALSE(frmMain.N_SkinItems[14]->isChecked()) << "the look in use stays marked";
    EXPECT_TRUE(frmMain.N_SkinItems[9]->isChecked());
    EXPECT_EQ(StoredSkin(), "15");
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(Skins, UnreadableSkinIsReportedAndNotStored) {
    unlink(SkinPath(15).c_str());
    MakeFolder(SkinPath(15));
    TfrmMain& frmMain = Show().frmMain;
    frmMain.N_SkinItems[14]->trigger();
    EXPECT_EQ(SkinInUse(), "");
    EXPECT_EQ(qApp->styleSheet(), TsuiSkinEngine::LayoutStyleSheet());
    EXPECT_EQ(StoredSkin(), "none");
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], "Cannot open file \"" + SkinPath(15) + "\". Not a regular file.");
}

TEST_F(Skins, UnreadableStoredSkinIsReportedAndTheOutputFolderStillShown) {
    unlink(SkinPath(4).c_str());
    MakeFolder(SkinPath(4));
    WriteConfig("[skin]\nskin=4\n[setting]\noutputFolder=/media/PSP/VIDEO/\n");
    TfrmMain& frmMain = Show().frmMain;
    EXPECT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(frmMain.editOutputFolder->text(), QStringLiteral("/media/PSP/VIDEO/"));
}

TEST_F(Skins, FailedWriteOfTheNumberIsReportedAndTheSkinStays) {
    // A folder in place of the writers' lock file stops every write, even root's.
    MakeFolder(folder / "config.ini.lock");
    TfrmMain& frmMain = Show().frmMain;
    errors.shown.clear();
    frmMain.N_SkinItems[1]->trigger();
    EXPECT_EQ(SkinInUse(), SkinPath(2));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], "Unable to write to " + folder / "config.ini.");
}

using HelpCommands = ProgramFolderTest;

TEST_F(HelpCommands, EachLanguageOpensItsOwnTargetsThroughTheDesktop) {
    struct Case {
        int languageId;
        QStringList expected; // local help, home page, support, feedback, update
    };
    const QString help = QUrl::fromLocalFile(QString::fromStdString(folder.Path())).toString();
    const std::vector<Case> cases{
        {1,
         {help + "Velmora_gb.html", "https://cn.velmora.example/", "mailto:support-cn@velmora.example",
          "https://cn.velmora.example/contact", "https://cn.velmora.example/"}},
        {2,
         {help + "Velmora.html", "https://www.velmora.example/", "mailto:support@velmora.example",
          "https://www.velmora.example/feedback", "https://www.velmora.example/"}},
        {3,
         {help + "Velmora_jp.html", "https://jp.velmora.example/", "mailto:support-jp@velmora.example",
          "https://jp.velmora.example/faq", "https://jp.velmora.example/"}},
        {0,
         {help + "Velmora.html", "https://www.velmora.example/", "mailto:support@velmora.example",
          "https://www.velmora.example/feedback", "https://www.velmora.example/"}},
    };
    for (const Case& c : cases) {
        WriteConfig("[common]\nlanguage=" + std::to_string(c.languageId) + "\n");
        // The desktop's own opener, as the program uses it.
        windows = std::make_unique<ProgramWindows>(folder.Path());
        windows->frmMain.show();
        OpenedUrls opened;
        TfrmMain& frmMain = windows->frmMain;
        for (QAction* command : {frmMain.N_LocalHelp, frmMain.N_HomePage, frmMain.N_Support,
                                 frmMain.N_FeedBack, frmMain.N_Update})
            command->trigger();
        EXPECT_EQ(opened.urls, c.expected) << c.languageId;
        windows.reset();
    }
    EXPECT_TRUE(errors.shown.empty());

    // A language without its own page opens the English one.
    WriteTextFile(folder / "Velmora.html", "");
    WriteConfig("[common]\nlanguage=4\n");
    for (const char* page : {"Velmora.html", "Velmora_fr.html"}) {
        WriteTextFile(folder / page, "");
        windows = std::make_unique<ProgramWindows>(folder.Path());
        OpenedUrls opened;
        windows->frmMain.N_LocalHelp->trigger();
        EXPECT_EQ(opened.urls, QStringList{help + page});
        windows.reset();
    }
}

TEST_F(HelpCommands, TheHelpFileOrOutputFolderTheDesktopCannotOpenIsNamedInAMessage) {
    WriteTextFile(folder / "libq7z", "#!/bin/sh\n");
    ASSERT_EQ(chmod((folder / "libq7z").c_str(), 0755), 0);
    TfrmMain& frmMain = Show().frmMain;
    shell.opens = false;
    frmMain.N_LocalHelp->trigger();
    const QString out = QString::fromStdString(folder / "out/");
    frmMain.editOutputFolder->setText(out);
    WriteTextFile(folder / "a.avi", "");
    frmMain.AddFile(folder / "a.avi");
    questions.answers = {true};
    frmMain.ActionConvertNow->trigger();
    ASSERT_EQ(questions.asked.size(), 3u);
    EXPECT_EQ(questions.asked[0].text, frmMain.msgCannotOpen + "\n\n" + (folder / "Velmora.html").c_str());
    EXPECT_EQ(questions.asked[2].text, frmMain.msgCannotOpenFolder + "\n\n" + out);
}

// A browser shows a line break between two Chinese or Japanese characters as a space in the sentence.
bool BreaksBetweenHanOrKana(const std::string& html) {
    const QString text = QString::fromStdString(html);
    const auto wide = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x30ff) || (u >= 0x3400 && u <= 0x9fff) || (u >= 0xff00 && u <= 0xffef);
    };
    for (qsizetype i = 1; i + 1 < text.size(); ++i)
        if (text[i] == u'\n' && wide(text[i - 1]) && wide(text[i + 1]))
            return true;
    return false;
}

TEST(HelpPages, EachShippedLanguageOpensAPageThatShipsWithEveryPictureItShows) {
    const std::string folder = std::string(VELMORA_SOURCE_DIR) + "/resources/";
    std::set<std::string> pages;
    for (int32_t id = 1; id <= 11; ++id)
        if (const LanguageChoice choice = ChooseLanguage(id, ""); PathExists(folder + choice.languageFile))
            pages.insert(choice.helpFile);
    for (const auto& entry : std::filesystem::directory_iterator(folder + "help")) {
        if (entry.path().extension() != ".html")
            continue;
        EXPECT_EQ(pages.count(entry.path().filename().string()), 1u)
            << entry.path() << " is opened by no language";
    }
    for (const std::string& page : pages) {
        ASSERT_TRUE(PathExists(folder + "help/" + page)) << page;
        const std::string html = ReadTextFile(folder + "help/" + page);
        size_t pictures = 0;
        for (size_t at = html.find("src=\""); at != std::string::npos; at = html.find("src=\"", at + 1)) {
            const std::string source = html.substr(at + 5, html.find('"', at + 5) - at - 5);
            EXPECT_EQ(source.rfind("help/", 0), 0u) << page << ": " << source;
            EXPECT_TRUE(PathExists(folder + "help/pictures/" + source.substr(5))) << page << ": " << source;
            ++pictures;
        }
        EXPECT_GE(pictures, 3u) << page;
        for (const char* topic : {"M4V50000.MP4", "M4V50000.THM", "MP_ROOT/100MNV01", "MP_ROOT/100ANV01",
                                  "MAQ#####.MP4", "<code>VIDEO</code>", "skins"})
            EXPECT_NE(html.find(topic), std::string::npos) << page << " says nothing of " << topic;
        EXPECT_FALSE(BreaksBetweenHanOrKana(html)) << page;
    }
}

} // namespace
} // namespace velmora::test

#include "SkinAndHelpTest.moc"
