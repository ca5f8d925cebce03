#include "engine/StatusLine.h"

#include "engine/EncoderOutputParser.h"
#include "engine/MarkerText.h"

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

const std::string kEllipsis = "\xE2\x80\xA6";

std::string TwoDigits(std::int64_t value) {
    std::string text = std::to_string(value);
    if (value < 10)
        text.insert(text.begin(), '0');
    return text;
}

// Where each character starts, and the text's end: a cut there never splits a UTF-8 sequence.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i == 0 || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// The name with its middle left out, keeping its extension while anything is kept.
std::string NameShortenedToFit(const std::string& name, const std::function<bool(const std::string&)>& fits) {
    if (fits(name))
        return name;
    const std::vector<std::size_t> starts = CharacterStarts(name);
    const std::size_t count = starts.size() - 1;
    const std::size_t dot = name.rfind('.');
    const std::size_t extension =
        dot == std::string::npos || dot == 0
            ? 0
            : count - static_cast<std::size_t>(std::find(starts.begin(), starts.end(), dot) - starts.begin());
    for (std::size_t kept = count == 0 ? 0 : count - 1;; --kept) {
        const std::size_t tail = std::max((kept + 1) / 2, std::min(extension, kept));
        std::string shortened = name.substr(0, starts[kept - tail]);
        shortened += kEllipsis;
        shortened += name.substr(starts[count - tail]);
        if (kept == 0 || fits(shortened))
            return shortened;
    }
}

} // namespace

std::string StatusLine::Whole() const {
    std::string whole = progress;
    whole += ' ';
    whole += path;
    return whole;
}

StatusLine MakeStatusLine(const std::string& runFormat, int selected, int count, std::int64_t reached,
                          std::int64_t length, const std::string& path) {
    std::string counter = std::to_string(selected + 1);
    counter += '/';
    counter += std::to_string(count);
    StatusLine line{FormatWithOneString(runFormat, counter), path};
    line.progress += " [";
    line.progress += SecondsToClockText(std::max<std::int64_t>(reached, 0));
    line.progress += '-';
    line.progress += LengthClockText(length);
    line.progress += ']';
    return line;
}

std::string LengthClockText(std::int64_t seconds) {
    return seconds > 0 ? SecondsToClockText(seconds) : "--:--:--";
}

std::string ShortClockText(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    std::string text;
    if (hours > 0) {
        text += std::to_string(hours);
        text += ':';
        text += TwoDigits(minutes);
    } else {
        text += std::to_string(minutes);
    }
    text += ':';
    text += TwoDigits(seconds % 60);
    return text;
}

std::string PathShortenedToFit(const std::string& path, const std::function<bool(const std::string&)>& fits) {
    if (fits(path))
        return path;
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return NameShortenedToFit(path, fits);
    const std::string folder = path.substr(0, slash + 1);
    const std::string name = path.substr(slash + 1);
    // Where the kept start may end and the kept end may begin: at the start and after each '/'.
    std::vector<std::size_t> cuts{0};
    for (std::size_t i = 0; i < folder.size(); ++i)
        if (folder[i] == '/')
            cuts.push_back(i + 1);
    const auto shortened = [&](std::size_t head, std::size_t tail) {
        std::string text = folder.substr(0, cuts[head]);
        text += kEllipsis;
        text += '/';
        text += folder.substr(cuts[tail]);
        text += name;
        return text;
    };
    // An absolute path keeps its root.
    std::size_t head = folder.front() == '/' ? 1 : 0;
    std::size_t tail = cuts.size() - 1;
    if (head >= tail || !fits(shortened(head, tail))) {
        std::string inSomeFolder = kEllipsis;
        inSomeFolder += '/';
        inSomeFolder += name;
        return fits(inSomeFolder) ? inSomeFolder : NameShortenedToFit(name, fits);
    }
    // The folders nearest the file tell most; the first ones say where it lies.
    for (bool grown = true; grown;) {
        grown = false;
        if (tail - 1 > head && fits(shortened(head, tail - 1))) {
            --tail;
            grown = true;
        }
        if (head + 1 < tail && fits(shortened(head + 1, tail))) {
            ++head;
            grown = true;
        }
    }
    return shortened(head, tail);
}

} // namespace velmora
