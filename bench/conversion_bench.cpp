// Compares a whole run of three files through the main window with libq7z run directly on the same
// files (thumbnail, then video, one file after the other), and measures the user-interface thread's
// CPU time while the window's run lasts. Usage: conversion_bench [rounds] [seconds per source]
#include "app/ProgramWindows.h"
#include "engine/EncoderCommandLines.h"
#include "engine/EncodingSettings.h"
#include "engine/OutputFiles.h"
#include "joblist/JobList.h"
#include "tests/support/RecordingQuestions.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QLineEdit>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

using velmora::test::TemporaryFolder;

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int Run(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    // The encoder's messages and progress go nowhere, as cheap a reader as there can be.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    const std::string seconds = argc > 2 ? argv[2] : "20";
    QApplication application(argc, argv);

    TemporaryFolder work;
    std::vector<std::string> sources;
    for (int i = 0; i < 3; ++i) {
        const std::string source = work / ("source " + std::to_string(i) + ".mp4");
        Run({"/usr/bin/ffmpeg",
             "-nostdin",
             "-v",
             "error",
             "-y",
             "-f",
             "lavfi",
             "-i",
             "testsrc2=size=720x404:rate=25:duration=" + seconds,
             "-f",
             "lavfi",
             "-i",
             "sine=frequency=440:sample_rate=48000:duration=" + seconds,
             "-c:v",
             "libx264",
             "-preset",
             "veryfast",
             "-c:a",
             "aac",
             "-shortest",
             source});
        sources.push_back(source);
    }

    velmora::test::CopyShippedLanguageFiles(VELMORA_SOURCE_DIR, work / "program/");
    symlink(VELMORA_LIBQ7Z, (work / "program/libq7z").c_str());

    std::vector<double> direct, window, uiShare;
    for (int round = 0; round < rounds; ++round) {
        {
            const std::string out = work / ("direct" + std::to_string(round) + "/");
            velmora::test::MakeFolder(out);
            const double start = Seconds(CLOCK_MONOTONIC);
            int n = 50000;
            for (const std::string& source : sources) {
                const std::string video = out + "M4V" + std::to_string(n++) + ".MP4";
                const std::string thumbnail = velmora::ThumbnailPathFor(video);
                velmora::WritePlaceholder(thumbnail);
                Run(velmora::BuildThumbnailCommandLine(work / "program/", source, thumbnail));
                velmora::WritePlaceholder(video);
                Run(velmora::BuildVideoCommandLine(work / "program/", velmora::EncodingSettings{}, source,
                                                   video));
            }
            direct.push_back(Seconds(CLOCK_MONOTONIC) - start);
        }
        {
            // Answers No to the completion question.
            velmora::test::RecordingQuestions questions;
            velmora::ProgramWindows windows(work / "program/");
            windows.frmMain.SetQuestions(&questions);
            windows.frmMain.show();
            windows.frmMain.editOutputFolder->setText(
                QString::fromStdString(work / ("window" + std::to_string(round))));
            for (const std::string& source : sources)
                windows.frmMain.AddFile(source);
            QApplication::processEvents();
            const double start = Seconds(CLOCK_MONOTONIC);
            const double cpuStart = Seconds(CLOCK_THREAD_CPUTIME_ID);
            windows.frmMain.ActionConvertNowExecute();
            const double cpu = Seconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
            const double wall = Seconds(CLOCK_MONOTONIC) - start;
            window.push_back(wall);
            uiShare.push_back(cpu / wall);
        }
        std::printf("round %d: direct %.2f s, window %.2f s, user-interface thread %.3f%% of a core\n",
                    round + 1, direct.back(), window.back(), uiShare.back() * 100);
    }
    std::printf(
        "median: direct %.2f s, window %.2f s, overhead %+.2f%%, user-interface thread %.3f%% of a core\n",
        Median(direct), Median(window), (Median(window) / Median(direct) - 1) * 100, Median(uiShare) * 100);
    return 0;
}
