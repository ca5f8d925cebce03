#pragma once

#include "tests/app/ProgramFolderFixture.h"

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class QTimer;

namespace velmora::test {

// A program folder with the real encoder in it, sources made once for every test, and ways to act
// in the middle of a run.
class ConversionTest : public ProgramFolderTest {
protected:
    ConversionTest();

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    // Two seconds of moving picture and sound.
    static std::string ShortSource();
    // Twenty seconds: long enough to act on while it converts.
    static std::string LongSource();

    // Shows the window with the output folder set and the paths queued.
    TfrmMain& Prepare(const std::string& outputFolder, const std::vector<std::string>& sources);
    // Presses Convert; while the run lasts, `during` is called every 20 ms until it returns true.
    void Convert(const std::function<bool()>& during = {});

    // The names in the folder, sorted.
    static std::vector<std::string> Names(const std::string& folder);
    // The encoder processes this test process (or the one given) has started and not yet reaped.
    static std::vector<pid_t> EncoderChildren(pid_t parent = 0);
    static bool NoChildLeft();

    static void ExpectPlayableVideo(const std::string& path, double longest);
    static void ExpectThumbnail(const std::string& path);
};

} // namespace velmora::test
