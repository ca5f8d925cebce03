#include "encoder/FilterChain.h"

#include "encoder/EncoderError.h"
#include "encoder/FFmpegPointers.h"

namespace velmora::encoder {
namespace {

FilterInOutPtr Endpoint(const char* name, AVFilterContext* filter, const std::string& what) {
    FilterInOutPtr endpoint(avfilter_inout_alloc());
    if (!endpoint)
        throw EncoderError("Out of memory building the " + what);
    endpoint->name = av_strdup(name);
    endpoint->filter_ctx = filter;
    endpoint->pad_idx = 0;
    endpoint->next = nullptr;
    return endpoint;
}

} // namespace

void LinkFilterChain(AVFilterGraph* graph, AVFilterContext* source, AVFilterContext* sink,
                     const std::string& chain, const std::string& what) {
    FilterInOutPtr outputs = Endpoint("in", source, what);
    FilterInOutPtr inputs = Endpoint("out", sink, what);
    // The parser takes the lists over and hands back what it left unlinked.
    AVFilterInOut* openInputs = inputs.release();
    AVFilterInOut* openOutputs = outputs.release();
    int result = avfilter_graph_parse_ptr(graph, chain.c_str(), &openInputs, &openOutputs, nullptr);
    inputs.reset(openInputs);
    outputs.reset(openOutputs);
    Check(result, "Cannot set up the " + what + " '" + chain + "'");
    Check(avfilter_graph_config(graph, nullptr), "Cannot set up the " + what + " '" + chain + "'");
}

} // namespace velmora::encoder
