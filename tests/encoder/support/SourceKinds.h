#pragma once

#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/PspChecks.h"

#include <ostream>
#include <string>
#include <vector>

namespace velmora::test {

// Two seconds of moving test picture and of tone, for the ffmpeg program's lavfi input.
inline const std::string kTestPicture = "testsrc2=size=320x240:rate=25:duration=2";
inline const std::string kTestTone = "sine=frequency=440:sample_rate=44100:duration=2";

// A kind of source the tests make with the ffmpeg program: 2 s of picture and tone in one container
// and codec, with the command-line choices to convert it and what the output must be.
struct SourceKind {
    std::string name;
    std::string fileName;
    std::vector<std::string> ffmpegArguments;
    VideoChoice choice;
    PspExpectations expected;
};

std::ostream& operator<<(std::ostream& stream, const SourceKind& kind);

// Each container and codec with another of the choices, so that every value of each table is used.
const std::vector<SourceKind>& SourceKinds();

} // namespace velmora::test
