#pragma once

#include "encoder/FFmpeg.h"

#include <string>

namespace velmora::encoder {

// Puts the filters that `chain` describes (FFmpeg's filter-graph syntax) between the graph's source
// and sink, and configures the graph. `what` names the filters in an error's message.
void LinkFilterChain(AVFilterGraph* graph, AVFilterContext* source, AVFilterContext* sink,
                     const std::string& chain, const std::string& what);

} // namespace velmora::encoder
