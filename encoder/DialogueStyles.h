#pragma once

#include <map>
#include <string>
#include <string_view>

namespace velmora::encoder {

// Which styles a script's dialogue lines are written in, so that their text size is judged from the
// styles in use, not from a stock style no line takes. Signs placed with \pos or \move are no dialogue.
class DialogueStyles {
public:
    // One event as FFmpeg's decoders give it: "ReadOrder,Layer,Style,Name,MarginL,MarginR,MarginV,Effect,
    // Text". True when the style most lines use has changed with it.
    bool Count(std::string_view event);
    // The style most dialogue lines counted so far use (the first of equals); empty before any.
    const std::string& Leading() const { return leading_; }

private:
    std::map<std::string, int, std::less<>> counts_;
    std::string leading_;
};

} // namespace velmora::encoder
