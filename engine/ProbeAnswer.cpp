#include "engine/ProbeAnswer.h"

#include "engine/SourceDuration.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <sstream>

namespace velmora {
namespace {

// A tooltip shows the notes; a runaway encoder must not fill the screen.
constexpr std::size_t kNoteLimit = 8;
constexpr std::size_t kNoteLength = 300;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

bool IsLanguage(const std::string& code) {
    return (code.size() == 2 || code.size() == 3) &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::optional<int> StreamIndex(const std::string& text) {
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error != std::errc() || end != text.data() + text.size() || index < 0)
        return std::nullopt;
    return index;
}

// "IDX LANG FLAGS" after the line's first word(s).
std::optional<ProbedTrack> StreamTrack(const std::vector<std::string>& words, std::size_t first) {
    if (words.size() != first + 3 || !IsLanguage(words[first + 1]))
        return std::nullopt;
    const std::optional<int> index = StreamIndex(words[first]);
    if (!index)
        return std::nullopt;
    ProbedTrack track{ProbedTrack::Kind::Stream, *index, words[first + 1], {}, {}};
    if (words[first + 2] != "-")
        track.flags = Split(words[first + 2], ',');
    return track;
}

// "picture CODING [dolby-vision-N]".
std::optional<ProbedPicture> Picture(const std::vector<std::string>& words) {
    static const char* const codings[] = {"sdr", "wide-gamut", "pq", "hlg"};
    if (words.size() < 2 || words.size() > 3 ||
        std::find(std::begin(codings), std::end(codings), words[1]) == std::end(codings))
        return std::nullopt;
    ProbedPicture picture{words[1], -1};
    const std::string dolbyVision = "dolby-vision-";
    if (words.size() == 3) {
        if (words[2].rfind(dolbyVision, 0) != 0)
            return std::nullopt;
        const std::optional<int> profile = StreamIndex(words[2].substr(dolbyVision.size()));
        if (!profile)
            return std::nullopt;
        picture.dolbyVisionProfile = *profile;
    }
    return picture;
}

void ReadLine(const std::string& line, ProbeAnswer& answer) {
    const std::vector<std::string> words = Split(line, ' ');
    if (words.empty())
        return;
    const std::string& fact = words[0];
    if (fact == "note" && line.size() > 5 && answer.notes.size() < kNoteLimit) {
        answer.notes.push_back(line.substr(5, kNoteLength));
    } else if (fact == "duration" && words.size() == 2) {
        answer.duration = ReadDurationAnswer(words[1]);
    } else if (fact == "picture") {
        if (std::optional<ProbedPicture> picture = Picture(words))
            answer.picture = std::move(picture);
    } else if (fact == "sound" && words.size() == 2 && words[1] == "none") {
        answer.sound = ProbedTrack{};
    } else if (fact == "sound") {
        if (std::optional<ProbedTrack> track = StreamTrack(words, 1))
            answer.sound = std::move(track);
    } else if (fact == "crop") {
        if (std::optional<CropFinding> crop = ReadCropFact({words.begin(), words.end()}))
            answer.crop = crop;
    } else if (fact == "subtitles" && words.size() == 2 && words[1] == "none") {
        answer.subtitles = ProbedTrack{};
    } else if (fact == "subtitles" && words.size() > 1 && words[1] == "stream") {
        if (std::optional<ProbedTrack> track = StreamTrack(words, 2))
            answer.subtitles = std::move(track);
    } else if (fact == "subtitles" && words.size() >= 4 && words[1] == "file" && IsLanguage(words[2])) {
        // The path is the rest of the line, blanks and all.
        const std::string prefix = "subtitles file " + words[2] + " ";
        answer.subtitles = ProbedTrack{ProbedTrack::Kind::File, -1, words[2], {}, line.substr(prefix.size())};
    }
}

} // namespace

ProbeAnswer ReadProbeAnswer(const std::string& answer) {
    ProbeAnswer read;
    for (std::string line : Split(answer, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ReadLine(line, read);
    }
    return read;
}

} // namespace velmora
