#pragma once

#include "engine/ProbeAnswer.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// Asks the encoder (`libq7z -duration SOURCE`) how long the source plays, in seconds. Nothing when the
// encoder cannot read the source, cannot be started, does not answer within `limit` (it is then
// killed) or when `cancelDescriptor` turns readable meanwhile. Blocks; meant for a worker thread.
std::optional<double> AskSourceDuration(const std::string& encoderPath, const std::string& source,
                                        std::chrono::milliseconds limit, int cancelDescriptor);

// Asks the encoder (`libq7z -probe [preferenceWords] SOURCE`) how long the source plays and which
// sound and subtitles it would use; nothing on the same failures as AskSourceDuration.
std::optional<ProbeAnswer> AskSourceProbe(const std::string& encoderPath, const std::string& source,
                                          const std::vector<std::string>& preferenceWords,
                                          std::chrono::milliseconds limit, int cancelDescriptor);

// The encoder's answer as a length: a positive finite number of seconds, nothing otherwise.
std::optional<double> ReadDurationAnswer(const std::string& answer);

} // namespace velmora
