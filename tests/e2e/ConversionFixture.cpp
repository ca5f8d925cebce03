#include "tests/e2e/ConversionFixture.h"

#include "engine/ConversionRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/ChildProcesses.h"

#include <QAction>
#include <QLineEdit>
#include <QTimer>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>

namespace velmora::test {

namespace {

std::unique_ptr<TemporaryFolder> sources;

void MakeClip(const std::string& path, int seconds) {
    const std::string length = std::to_string(seconds);
    MakeSource(path, {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=" + length, "-f", "lavfi",
                      "-i", "sine=frequency=440:sample_rate=44100:duration=" + length, "-c:v", "mpeg4",
                      "-q:v", "5", "-c:a", "aac", "-shortest"});
}

} // namespace

ConversionTest::ConversionTest() {
    EXPECT_EQ(symlink(VELMORA_LIBQ7Z, (folder / "libq7z").c_str()), 0);
}

void ConversionTest::SetUpTestSuite() {
    sources = std::make_unique<TemporaryFolder>();
    MakeClip(ShortSource(), 2);
    MakeClip(LongSource(), 20);
}

void ConversionTest::TearDownTestSuite() {
    sources.reset();
}

std::string ConversionTest::ShortSource() {
    return *sources / "short clip.mp4";
}

std::string ConversionTest::LongSource() {
    return *sources / "long clip.avi";
}

TfrmMain& ConversionTest::Prepare(const std::string& outputFolder, const std::vector<std::string>& paths) {
    TfrmMain& frmMain = Show().frmMain;
    frmMain.editOutputFolder->setText(QString::fromStdString(outputFolder));
    for (const std::string& path : paths)
        frmMain.AddFile(path);
    return frmMain;
}

void ConversionTest::Convert(const std::function<bool()>& during) {
    QTimer probe;
    bool done = !during;
    if (during) {
        probe.setInterval(20);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (!done && during())
                done = true;
        });
        probe.start();
    }
    windows->frmMain.ActionConvertNow->trigger();
}

std::vector<std::string> ConversionTest::Names(const std::string& where) {
    std::vector<std::string> names = PathExists(where) ? FolderEntries(where) : std::vector<std::string>();
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<pid_t> ConversionTest::EncoderChildren(pid_t of) {
    std::vector<pid_t> children;
    std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    while (const dirent* entry = readdir(proc.get())) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0)
            continue;
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string line;
        std::getline(stat, line);
        // pid (comm) state ppid …; comm may hold blanks, so read after its closing parenthesis.
        const size_t close = line.rfind(')');
        if (close == std::string::npos || line.find("(libq7z)") == std::string::npos)
            continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == (of != 0 ? of : getpid()))
            children.push_back(pid);
    }
    return children;
}

bool ConversionTest::NoChildLeft() {
    return !HasChildProcesses();
}

void ConversionTest::ExpectPlayableVideo(const std::string& path, double longest) {
    MediaProbe probe(path);
    ASSERT_EQ(probe.StreamCount(), 2) << path;
    EXPECT_EQ(probe.Stream(0, "codec_name"), "h264") << path;
    EXPECT_EQ(probe.Stream(0, "width"), "400");
    EXPECT_EQ(probe.Stream(0, "height"), "192");
    EXPECT_EQ(probe.Stream(1, "codec_name"), "aac") << path;
    const double duration = probe.FormatNumber("duration");
    EXPECT_GT(duration, 0.1) << path;
    EXPECT_LE(duration, longest + 0.5) << path;
}

void ConversionTest::ExpectThumbnail(const std::string& path) {
    MediaProbe probe(path);
    ASSERT_EQ(probe.StreamCount(), 1) << path;
    EXPECT_EQ(probe.Stream(0, "codec_name"), "mjpeg") << path;
    EXPECT_EQ(probe.Stream(0, "width"), "160");
    EXPECT_EQ(probe.Stream(0, "height"), "120");
}

} // namespace velmora::test
