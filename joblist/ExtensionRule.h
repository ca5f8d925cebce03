#pragma once

#include <string_view>
#include <vector>

namespace velmora {

// The video kinds the job list takes, as one text; the add rule looks for an extension inside it.
inline constexpr std::string_view kAcceptedExtensions =
    "*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.mov;*.rm;*.rmvb;*.qt;*.mp4;*.3gp;*.dat;*.vob;*.smk;*.swf;*.nsv;*.mkv;"
    "*.webm;*.flv;*.f4v;*.m4v;*.ts;*.m2ts;*.mts;*.ogv;*.3g2;*.divx";

// The text from the last '.' of the path to its end, when no '/' follows that dot; else empty.
std::string_view PathExtension(std::string_view path);

// True when the path's extension, lower-cased, occurs anywhere in the accepted text. A piece of an
// extension passes too (".mp" lies inside ".mpg"), which keeps the rule as users have known it.
bool PassesExtensionRule(std::string_view path);

// The accepted kinds one by one ("*.avi", "*.mpg", …), in the accepted text's order.
std::vector<std::string_view> AcceptedExtensionPatterns();

} // namespace velmora
