// Times the kept queue with 10,000 entries: the file written and read by the engine alone, then the real
// main window restoring it at its first show and writing it when it closes. Run offscreen or under a
// display.
#include "app/ProgramWindows.h"
#include "engine/KeptQueue.h"
#include "joblist/JobList.h"
#include "platform/AtomicFileWrite.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using velmora::test::TemporaryFolder;

// The median of `rounds` timings of `work`, in milliseconds.
double MedianMs(int rounds, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
    QApplication application(argc, argv);
    TemporaryFolder programFolder;
    velmora::test::CopyShippedLanguageFiles(VELMORA_SOURCE_DIR, programFolder.Path());
    TemporaryFolder videos;
    velmora::KeptQueue queue;
    for (int i = 0; i < count; ++i) {
        const std::string path = videos / ("a season of some series, episode " + std::to_string(i) + ".mkv");
        velmora::test::WriteTextFile(path, "");
        velmora::KeptEntry entry{path, std::nullopt, 1420.5 + i};
        if (i % 2 == 0)
            entry.outcome = velmora::EntryOutcome{
                0, velmora::EntryResult::Converted, path, "M4V" + std::to_string(50000 + i), "", "", ""};
        queue.entries.push_back(std::move(entry));
    }
    const std::string file = programFolder / "kept-queue.txt";
    std::string text;
    const double serialise = MedianMs(rounds, [&] { text = velmora::KeptQueueText(queue); });
    const double write = MedianMs(rounds, [&] { velmora::ReplaceFileAtomically(file, text); });
    const double read = MedianMs(rounds, [&] { static_cast<void>(velmora::ReadKeptQueueFile(file)); });
    std::printf(
        "engine, %d entries (%zu bytes): text %.1f ms, atomic write with fsync %.1f ms, read and parse "
        "%.1f ms\n",
        count, text.size(), serialise, write, read);

    QElapsedTimer timer;
    timer.start();
    velmora::ProgramWindows windows(programFolder.Path());
    velmora::TfrmMain& frmMain = windows.frmMain;
    frmMain.show();
    while (frmMain.Jobs().Count() < count)
        QApplication::processEvents();
    const qint64 restored = timer.elapsed();
    std::vector<double> flushes;
    for (int round = 0; round < rounds; ++round) {
        // A converted entry made unconverted, so that every round writes.
        frmMain.Jobs().SelectEntry(2 * round);
        frmMain.ActionConvertAgainExecute();
        flushes.push_back(MedianMs(1, [&] { frmMain.FlushKeptQueue(); }));
    }
    std::sort(flushes.begin(), flushes.end());
    const double flush = flushes[flushes.size() / 2];
    std::printf(
        "window: created, shown and %d entries restored in %lld ms; the queue taken from the list and "
        "written on closing in %.1f ms\n",
        frmMain.Jobs().Count(), static_cast<long long>(restored), flush);
    return 0;
}
