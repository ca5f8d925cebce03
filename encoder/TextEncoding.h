#pragma once

#include "encoder/EncodingHints.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::encoder {

// The text encoding of a subtitle file's bytes, as a name iconv accepts ("UTF-8", "UTF-16LE", "CP932",
// "GB18030", "CP1251"...): a byte-order mark decides first, then valid UTF-8, then libuchardet's guess.
// Empty when the bytes do not look like text in any encoding. The hints, strongest first, overrule a
// guess that gives text not written in their language (see ChooseHintedEncoding).
std::string DetectTextEncoding(std::string_view bytes, const std::vector<LanguageHint>& hints = {});

// The text converted to UTF-8, without a byte-order mark. Throws EncoderError when the bytes are not
// valid in that encoding or iconv does not know it.
std::string TextToUtf8(std::string_view bytes, const std::string& characterSet);

} // namespace velmora::encoder
