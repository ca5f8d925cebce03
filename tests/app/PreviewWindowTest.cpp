// The preview window never waits for the encoder: a new pick kills the one still making a picture.
#include "dialogs/PreviewWindow.h"
#include "tests/support/TestFiles.h"

#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <sys/stat.h>
#include <tuple>

namespace velmora {
namespace {

// Stands in for libq7z: logs "pid time", is slow at 1 s, fails at 3 s, else copies a green picture.
std::string FakeEncoder(const test::TemporaryFolder& folder) {
    QImage green(480, 272, QImage::Format_RGB888);
    green.fill(Qt::green);
    green.save(QString::fromStdString(folder / "green.png"));
    const QString script = QStringLiteral(R"(#!/bin/sh
echo "$$ $5" >> @log
for out; do :; done
case $5 in 1.000) exec sleep 30;; 3.000) echo 'Cannot read the source' >&2; exit 1;; esac
cp @green.png "$out" && printf 'source 640x480\ncrop 640x272 0 104\n'
)");
    test::WriteTextFile(folder / "libq7z", QString(script).replace('@', folder.Path().c_str()).toStdString());
    ::chmod((folder / "libq7z").c_str(), 0755);
    return folder / "libq7z";
}

QColor MiddleOfScreen(const PreviewWindow& window) {
    const QImage screen = window.labelScreen->pixmap().toImage();
    return screen.pixelColor(screen.width() / 2, screen.height() / 2);
}

// The encoder runs logged so far: process id and time.
std::vector<std::pair<pid_t, std::string>> Runs(const test::TemporaryFolder& folder) {
    std::vector<std::pair<pid_t, std::string>> runs;
    std::istringstream lines(test::PathExists(folder / "log") ? test::ReadTextFile(folder / "log") : "");
    for (std::pair<pid_t, std::string> run; lines >> run.first >> run.second;)
        runs.push_back(run);
    return runs;
}

TEST(PreviewWindow, ANewPickKillsThePictureStillBeingMade) {
    test::TemporaryFolder folder;
    PreviewWindow window(FakeEncoder(folder));
    window.show();
    window.ShowChoice({"/films/film.mkv", 60.0, "480x272", true, {}});
    const QString cropped = QString::fromUtf8("Black bars cropped: 640×480 → 640×272");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.labelCrop->text() == cropped; }, 5000))
        << window.labelCrop->text().toStdString();
    EXPECT_EQ(MiddleOfScreen(window), QColor(Qt::green));
    EXPECT_EQ(window.labelTimeText->text(), QStringLiteral("0:00 / 1:00"));

    // Each step is one pick (slider values in tenths of a second); only where the slider rests is a
    // picture asked for (the encoder's -at), and the window's status after it.
    const std::vector<std::tuple<std::vector<int>, std::string, QString>> steps = {
        {{2, 5, 10}, "1.000", QStringLiteral("Making the picture\u2026")},
        {{30}, "3.000", QStringLiteral("Cannot read the source")},
        {{40, 45}, "4.500", QString()}};
    size_t runs = 1;
    for (const auto& [values, time, status] : steps) {
        SCOPED_TRACE(time);
        for (int value : values)
            window.sliderTime->setValue(value);
        ++runs;
        ASSERT_TRUE(QTest::qWaitFor([&] { return Runs(folder).size() == runs; }, 5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.labelStatus->text() == status; }, 5000))
            << window.labelStatus->text().toStdString();
        EXPECT_EQ(Runs(folder).back().second, time);
    }
    // The slow run was killed at the next pick, long before its half minute was up.
    const pid_t slow = Runs(folder)[1].first;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::kill(slow, 0) != 0; }, 5000));
    EXPECT_EQ(window.labelTimeText->text(), QStringLiteral("0:04 / 1:00"));
    EXPECT_EQ(MiddleOfScreen(window), QColor(Qt::green));
}

} // namespace
} // namespace velmora
