#pragma once

// TrimControlBytes, which the markers' values are trimmed with.
#include "platform/AsciiText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The text pieces the encoder's progress markers are read with. All work on bytes, never decoded.

// The value of the last complete marker openingTag VALUE closingTag in the text, or the empty text:
// the last closing tag, and before it the opening tag that ends nearest to it without overlapping it.
std::string ExtractMarkerValue(const std::string& openingTag, const std::string& closingTag,
                               const std::string& text);

// The note of a subtitle-note marker in the line ("ffmpeg_release_subtitle_note=TEXT=
// ffmpeg_release_subtitle_note"): the encoder's words on subtitles it left out; empty when there is none.
std::string SubtitleNoteIn(const std::string& line);
// The note of a colour-note marker in the line ("ffmpeg_release_colour_note=TEXT=
// ffmpeg_release_colour_note"): the encoder's words on colours that may be wrong; empty without one.
std::string ColourNoteIn(const std::string& line);

// The non-empty fields between occurrences of the separator: "1::2" at ":" gives 1 and 2.
std::vector<std::string> SplitNonEmpty(const std::string& text, const std::string& separator);

// Whole seconds of a clock text h:m:s.fraction; 0 for an empty text or one of another shape. A field
// that is not a whole number raises EConvertError "'<field>' is not a valid integer value". The
// fraction is only checked, never counted: 00:01:02.99 gives 62.
std::int64_t ClockTextToSeconds(const std::string& text);

// hh:mm:ss; hours of 100 or more take the digits they need (360000 gives 100:00:00).
std::string SecondsToClockText(std::int64_t seconds);

// A decimal number with an optional sign, a point as decimal mark and an optional exponent, whatever
// the C locale says; anything else (hexadecimal, inf, nan, blanks) raises EConvertError
// "'<text>' is not a valid floating point value".
double FloatFromText(const std::string& text);

} // namespace velmora
