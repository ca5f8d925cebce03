// Times filling the job list: a batch add of a folder of 10,000 videos and a drop of 10,000 names,
// through the real main window. Reports how often the list was painted and how long a click posted
// during the work waited to be handled. Run under a display (xvfb-run) or offscreen.
#include "app/ProgramWindows.h"
#include "joblist/JobList.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using velmora::test::TemporaryFolder;

// Counts the list's paints.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// Posts a click to a button every 20 ms and measures how long each waited.
class ClickProbe : public QObject {
public:
    explicit ClickProbe(QPushButton* button) : button_(button) {
        connect(button, &QPushButton::clicked, this, [this] {
            waits.push_back(clock_.nsecsElapsed() / 1e6 - postedAt_);
            pending_ = false;
        });
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (pending_)
                return;
            pending_ = true;
            postedAt_ = clock_.nsecsElapsed() / 1e6;
            QMetaObject::invokeMethod(button_, &QPushButton::click, Qt::QueuedConnection);
        });
        clock_.start();
        timer_.start();
    }
    void Stop() { timer_.stop(); }
    std::vector<double> waits;

private:
    QPushButton* button_;
    QTimer timer_;
    QElapsedTimer clock_;
    double postedAt_ = 0;
    bool pending_ = false;
};

void Report(const char* what, qint64 ms, int rows, const PaintCounter& paints, const ClickProbe& probe) {
    std::vector<double> waits = probe.waits;
    std::sort(waits.begin(), waits.end());
    const double worst = waits.empty() ? 0 : waits.back();
    const double median = waits.empty() ? 0 : waits[waits.size() / 2];
    std::printf("%-10s %6lld ms  %6d rows  %5d list paints  %4zu clicks answered, wait median %.1f ms, "
                "worst %.1f ms\n",
                what, static_cast<long long>(ms), rows, paints.paints, waits.size(), median, worst);
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    QApplication application(argc, argv);
    TemporaryFolder programFolder;
    velmora::test::CopyShippedLanguageFiles(VELMORA_SOURCE_DIR, programFolder.Path());
    TemporaryFolder videos;
    for (int i = 0; i < count; ++i)
        velmora::test::WriteTextFile(videos / ("clip " + std::to_string(i) + ".avi"), "");

    velmora::ProgramWindows windows(programFolder.Path());
    velmora::TfrmMain& frmMain = windows.frmMain;
    frmMain.show();
    PaintCounter paints;
    frmMain.listViewFiles->viewport()->installEventFilter(&paints);
    QApplication::processEvents();

    {
        paints.paints = 0;
        ClickProbe probe(frmMain.buttonMoveUp);
        QElapsedTimer timer;
        timer.start();
        frmMain.AddFolderFiles(videos.Path(), false, "*");
        const qint64 ms = timer.elapsed();
        probe.Stop();
        Report("batch add", ms, frmMain.Jobs().Count(), paints, probe);
    }

    frmMain.Jobs().Clear();
    QApplication::processEvents();
    {
        QList<QUrl> urls;
        for (int i = 0; i < count; ++i)
            urls << QUrl::fromLocalFile(
                QString::fromStdString(videos / ("clip " + std::to_string(i) + ".avi")));
        QMimeData data;
        data.setUrls(urls);
        paints.paints = 0;
        ClickProbe probe(frmMain.buttonMoveUp);
        QElapsedTimer timer;
        timer.start();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frmMain, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frmMain, &drop);
        while (frmMain.Jobs().Count() < count)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qint64 ms = timer.elapsed();
        probe.Stop();
        Report("drop", ms, frmMain.Jobs().Count(), paints, probe);
    }
    return 0;
}
