#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace velmora {

// Asks the encoder (`libq7z -duration SOURCE`) how long the source plays, in seconds. Nothing when the
// encoder cannot read the source, cannot be started, does not answer within `limit` (it is then
// killed) or when `cancelDescriptor` turns readable meanwhile. Blocks; meant for a worker thread.
std::optional<double> AskSourceDuration(const std::string& encoderPath, const std::string& source,
                                        std::chrono::milliseconds limit, int cancelDescriptor);

// The encoder's answer as a length: a positive finite number of seconds, nothing otherwise.
std::optional<double> ReadDurationAnswer(const std::string& answer);

} // namespace velmora
