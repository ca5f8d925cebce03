#pragma once

#include "encoder/EncodingHints.h"

#include <string>
#include <vector>

namespace velmora::encoder {

// A subtitle file beside the source, named after it: "film.srt", "film.ja.ass", "film.eng.forced.srt",
// "film.English.srt", "film.chs.srt", "film.1.srt".
struct SidecarFile {
    std::string path;
    std::string language; // ISO 639-2/B, or "und" when the name carries none
    bool forced = false;
    std::string languageHint; // for the text encoding: "chi-Hans" for "chs"; empty when none
};

// The subtitle files in the source's folder whose names are the source's base name in any case,
// optionally a language (a code or its English name), a track number and flags, and .srt, .ass, .ssa
// or .vtt in any case. Named pipes, devices and folders are
// left out; nothing is opened. In the order a player would take them: without a language first, forced
// ones last, then by extension as listed and by name.
std::vector<SidecarFile> FindSidecarFiles(const std::string& sourcePath);

// The sidecar's text and its encoding as detected.
struct SidecarText {
    std::string characterSet; // an iconv name
    std::string utf8;
};

// Reads a sidecar file: a regular file (or a link to one) of at most 16 MiB holding text, its encoding
// detected with the hints. Throws EncoderError with the reason ("it is not a regular file (a named
// pipe)", "it is larger than 16 MiB").
SidecarText ReadSidecarText(const std::string& path, const std::vector<LanguageHint>& hints = {});
// The same file's bytes as they are, with the same checks.
std::string ReadSidecarBytes(const std::string& path);

} // namespace velmora::encoder
