#pragma once

#include <string_view>

namespace velmora {

// The order people expect of file names: letters compared without regard to ASCII case, runs of
// digits compared as numbers ("ep2" before "ep10"); names equal in that order fall back to their bytes,
// so the order is total.
bool NameOrderLess(std::string_view a, std::string_view b);

} // namespace velmora
