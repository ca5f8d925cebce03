#include "platform/BoundedFileRead.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/LiteralText.h"
#include "platform/qt/StandardFolders.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

namespace velmora::test {
namespace {

using HostileFiles = ProgramFolderTest;

// The ways a file read at start can be other than a small regular file.
struct OddFile {
    const char* what;
    std::function<void(const std::string&)> make;
    std::string reason;
};

std::vector<OddFile> OddFiles() {
    return {
        {"pipe", [](const std::string& at) { ASSERT_EQ(mkfifo(at.c_str(), 0644), 0); }, "Not a regular file"},
        {"endless device", [](const std::string& at) { ASSERT_EQ(symlink("/dev/zero", at.c_str()), 0); },
         "Not a regular file"},
        {"folder", [](const std::string& at) { MakeFolder(at); }, "Not a regular file"},
        {"huge", [](const std::string& at) { WriteTextFile(at, std::string(kProfileFileLimit + 1, ';')); },
         "Larger than 1024 KiB"},
    };
}

TEST_F(HostileFiles, OddConfigFileGivesOneMessageAndTheDefaults) {
    for (const OddFile& odd : OddFiles()) {
        const std::string config = folder / "config.ini";
        std::remove(config.c_str());
        rmdir(config.c_str());
        odd.make(config);
        errors.shown.clear();
        TfrmMain& frmMain = Show().frmMain;
        EXPECT_EQ(errors.shown,
                  std::vector<std::string>{"Cannot open file \"" + config + "\". " + odd.reason +
                                           ".\nThe settings are neither read nor saved."})
            << odd.what;
        EXPECT_EQ(frmMain.editOutputFolder->text().toStdString(), VideosFolder()) << odd.what;
        EXPECT_EQ(frmMain.ActionExit->text(), QStringLiteral("Exit")) << odd.what;
        struct stat after {};
        EXPECT_TRUE(lstat(config.c_str(), &after) == 0 &&
                    !S_ISREG(after.st_mode) == (odd.what != std::string("huge")))
            << odd.what << ": the file is left as it was";
    }
}

TEST_F(HostileFiles, UnreadableOrIncompleteLanguageFileKeepsTheEnglishTextsAndSaysSoOnce) {
    const std::string en = folder / "language/en.ini";
    std::vector<OddFile> cases = OddFiles();
    cases.push_back({"missing", [](const std::string&) {}, "No such file or directory"});
    for (const OddFile& odd : cases) {
        std::remove(en.c_str());
        rmdir(en.c_str());
        odd.make(en);
        errors.shown.clear();
        ProgramWindows& started = Show();
        EXPECT_EQ(errors.shown, std::vector<std::string>{"Cannot open file \"" + en + "\". " + odd.reason +
                                                         ".\nThe built-in English texts are shown."})
            << odd.what;
        EXPECT_EQ(started.frmMain.windowTitle(), QStringLiteral("Velmora PSP Video Converter")) << odd.what;
        EXPECT_EQ(started.frmMain.buttonAdd->text(), QStringLiteral("Add...")) << odd.what;
        EXPECT_EQ(started.frmMain.N_Skin->title(), QStringLiteral("S&kin")) << odd.what;
        EXPECT_EQ(started.FrmDirectory.LabelDirectory->text(), QStringLiteral("Folder:")) << odd.what;
    }

    // A file with some texts keeps them, and the rest are English.
    std::remove(en.c_str());
    WriteLanguageFile("jp.ini", "[App]\nTitle=題名\n[frmMain]\nActionExit=終了\n");
    WriteConfig("[common]\nlanguage=3\n");
    errors.shown.clear();
    TfrmMain& frmMain = Show().frmMain;
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("題名"));
    EXPECT_EQ(frmMain.ActionExit->text(), QStringLiteral("終了"));
    EXPECT_EQ(frmMain.buttonAdd->text(), QStringLiteral("Add..."));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].rfind("The language file \"" + folder / "language/jp.ini" + "\" lacks ", 0), 0u)
        << errors.shown[0];
}

TEST_F(HostileFiles, NamesAndErrorTextsAreShownLiterally) {
    for (const QString& text : {QStringLiteral("<h1>big.avi"), QStringLiteral("a & <b>b</b>.avi\n<i>reason"),
                                QStringLiteral("plain.avi"), QStringLiteral("<qt>x")}) {
        const QString tip = LiteralToolTip(text);
        QTextDocument shown;
        if (Qt::mightBeRichText(tip))
            shown.setHtml(tip);
        else
            shown.setPlainText(tip);
        EXPECT_EQ(shown.toPlainText(), text);
    }

    ProgramWindows& started = Show();
    started.frmMain.AddFile(folder / "<h1>big.avi");
    EXPECT_EQ(started.frmMain.listViewFiles->item(0, 0)->toolTip(),
              LiteralToolTip(QString::fromStdString(folder / "<h1>big.avi")));
    for (const QLabel* label : {started.frmMain.labelCurrentInfo, started.frmPowerOffWindows.labelNotice,
                                started.frmRunReport.labelSummary})
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
}

} // namespace
} // namespace velmora::test
