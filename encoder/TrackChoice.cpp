#include "encoder/TrackChoice.h"

#include "encoder/EncoderError.h"
#include "encoder/SidecarFiles.h"
#include "encoder/SubtitleReader.h"
#include "platform/LanguageCodes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <optional>
#include <string_view>

namespace velmora::encoder {
namespace {

using Streams = std::vector<const AVStream*>;

// The subtitle codecs the renderer draws: text through libass, pictures as an overlay.
constexpr std::array kUsableSubtitles = {
    AV_CODEC_ID_SUBRIP,       AV_CODEC_ID_SRT,         AV_CODEC_ID_ASS,  AV_CODEC_ID_SSA,
    AV_CODEC_ID_WEBVTT,       AV_CODEC_ID_MOV_TEXT,    AV_CODEC_ID_TEXT, AV_CODEC_ID_HDMV_PGS_SUBTITLE,
    AV_CODEC_ID_DVD_SUBTITLE, AV_CODEC_ID_DVB_SUBTITLE};

bool ContainsCaseBlind(std::string_view text, std::string_view word) {
    auto found = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return found != text.end();
}

Streams StreamsWhere(const AVFormatContext& source, bool (*wanted)(const AVStream&)) {
    Streams streams;
    for (unsigned i = 0; i < source.nb_streams; ++i)
        if (wanted(*source.streams[i]))
            streams.push_back(source.streams[i]);
    return streams;
}

bool IsDecodableSound(const AVStream& stream) {
    return stream.codecpar->codec_type == AVMEDIA_TYPE_AUDIO && stream.codecpar->sample_rate > 0 &&
           avcodec_find_decoder(stream.codecpar->codec_id) != nullptr;
}

bool IsUsableSubtitles(const AVStream& stream) {
    return stream.codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE &&
           std::find(kUsableSubtitles.begin(), kUsableSubtitles.end(), stream.codecpar->codec_id) !=
               kUsableSubtitles.end();
}

Streams InLanguage(const Streams& streams, const std::string& language) {
    Streams matching;
    for (const AVStream* stream : streams)
        if (SameLanguage(StreamLanguage(*stream), language))
            matching.push_back(stream);
    return matching;
}

// The default flag only tells something when it sets streams apart: Matroska marks every track default
// unless told otherwise, and burning in subtitles nobody chose cannot be undone.
bool MarkedDefault(const AVStream& stream, const Streams& among) {
    bool allMarked = among.size() > 1 && std::all_of(among.begin(), among.end(), [](const AVStream* other) {
                         return (other->disposition & AV_DISPOSITION_DEFAULT) != 0;
                     });
    return (stream.disposition & AV_DISPOSITION_DEFAULT) && !allMarked;
}

// The film's own sound: the one marked default that is no commentary, else the first that is none,
// else the first.
const AVStream* FilmSound(const Streams& sounds) {
    for (const AVStream* stream : sounds)
        if ((stream->disposition & AV_DISPOSITION_DEFAULT) && !IsCommentary(*stream))
            return stream;
    for (const AVStream* stream : sounds)
        if (!IsCommentary(*stream))
            return stream;
    return sounds.empty() ? nullptr : sounds.front();
}

Streams Ordinary(const Streams& sounds) {
    Streams ordinary;
    std::copy_if(sounds.begin(), sounds.end(), std::back_inserter(ordinary),
                 [](const AVStream* stream) { return !IsCommentary(*stream); });
    return ordinary;
}

// A commentary or description ranks below the film's own sound in every preferred language.
const AVStream* ChooseSound(const AVFormatContext& source, const TrackPreferences& prefs) {
    const Streams sounds = StreamsWhere(source, IsDecodableSound);
    for (const std::string& language : prefs.audioLanguages)
        if (const AVStream* stream = FilmSound(Ordinary(InLanguage(sounds, language))))
            return stream;
    for (const std::string& language : prefs.audioLanguages)
        if (const AVStream* stream = FilmSound(InLanguage(sounds, language)))
            return stream;
    return FilmSound(sounds);
}

SubtitleSource FromStream(const AVStream& stream) {
    SubtitleSource source;
    source.kind = SubtitleSource::Kind::Stream;
    source.streamIndex = stream.index;
    source.language = StreamLanguage(stream);
    return source;
}

std::string FileName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// Picks the subtitles among the source's streams and the files beside it, reading a file only when it
// is about to be chosen.
class SubtitleChoice {
public:
    SubtitleChoice(const AVFormatContext& source, const std::string& sourcePath,
                   const TrackPreferences& prefs, std::vector<std::string>& notes)
        : prefs_(prefs), streams_(StreamsWhere(source, IsUsableSubtitles)),
          sidecars_(prefs.subtitles == 0 ? std::vector<SidecarFile>() : FindSidecarFiles(sourcePath)),
          notes_(notes) {}

    SubtitleSource Choose() {
        if (prefs_.subtitles == 0)
            return {};
        if (prefs_.subtitles == 2)
            for (const std::string& language : prefs_.subtitleLanguages) {
                if (const AVStream* stream = FullSubtitles(InLanguage(streams_, language)))
                    return FromStream(*stream);
                if (std::optional<SubtitleSource> file = ReadableSidecar(language))
                    return *file;
            }
        return AsTheSourceSays();
    }

private:
    // Subtitles for the whole film rather than only its foreign-language lines.
    static const AVStream* FullSubtitles(const Streams& streams) {
        for (const AVStream* stream : streams)
            if (!(stream->disposition & AV_DISPOSITION_FORCED))
                return stream;
        return streams.empty() ? nullptr : streams.front();
    }

    // A stream marked default or forced; else a file beside the source.
    SubtitleSource AsTheSourceSays() {
        Streams marked;
        for (const AVStream* stream : streams_)
            if (MarkedDefault(*stream, streams_))
                marked.push_back(stream);
        for (const AVStream* stream : streams_)
            if ((stream->disposition & AV_DISPOSITION_FORCED) && !MarkedDefault(*stream, streams_))
                marked.push_back(stream);
        for (const std::string& language : prefs_.subtitleLanguages) {
            Streams matching = InLanguage(marked, language);
            if (!matching.empty())
                return FromStream(*matching.front());
        }
        if (!marked.empty())
            return FromStream(*marked.front());
        for (const std::string& language : prefs_.subtitleLanguages)
            if (std::optional<SubtitleSource> file = ReadableSidecar(language))
                return *file;
        if (std::optional<SubtitleSource> file = ReadableSidecar(std::nullopt))
            return *file;
        return {};
    }

    // The first sidecar in the language (any language when none is given) that can be read.
    std::optional<SubtitleSource> ReadableSidecar(const std::optional<std::string>& language) {
        for (SidecarFile& sidecar : sidecars_) {
            if (sidecar.path.empty() || (language && !SameLanguage(sidecar.language, *language)))
                continue;
            try {
                SubtitleSource source;
                source.kind = SubtitleSource::Kind::Sidecar;
                source.characterSet = ReadSidecarText(sidecar.path, Hints(sidecar)).characterSet;
                source.sidecarPath = sidecar.path;
                source.language = sidecar.language;
                // Parsed here as the job will parse it, so that what is named is what is burned in.
                ExpectSubtitleCue(source);
                return source;
            } catch (const EncoderError& error) {
                notes_.push_back("Sidecar '" + FileName(sidecar.path) +
                                 "' could not be read: " + error.what());
                // Tried once: not again for another language.
                sidecar.path.clear();
            }
        }
        return std::nullopt;
    }

    // The file's own language, then the window's, for reading its text encoding.
    std::vector<LanguageHint> Hints(const SidecarFile& sidecar) const {
        std::vector<LanguageHint> hints;
        if (!sidecar.languageHint.empty())
            hints.push_back({sidecar.languageHint, true});
        const std::string window = LanguageHintFor(prefs_.windowLanguage);
        if (!window.empty())
            hints.push_back({window, false});
        return hints;
    }

    const TrackPreferences& prefs_;
    const Streams streams_;
    std::vector<SidecarFile> sidecars_;
    std::vector<std::string>& notes_;
};

} // namespace

TrackChoice ChooseTracks(const AVFormatContext& source, const std::string& sourcePath,
                         const TrackPreferences& prefs) {
    TrackChoice choice;
    if (const AVStream* sound = ChooseSound(source, prefs))
        choice.audioStreamIndex = sound->index;
    choice.subtitles = SubtitleChoice(source, sourcePath, prefs, choice.notes).Choose();
    return choice;
}

std::string StreamLanguage(const AVStream& stream) {
    const AVDictionaryEntry* language = av_dict_get(stream.metadata, "language", nullptr, 0);
    return CanonicalLanguage(language ? language->value : "");
}

bool IsCommentary(const AVStream& stream) {
    constexpr int kNotTheFilm =
        AV_DISPOSITION_COMMENT | AV_DISPOSITION_VISUAL_IMPAIRED | AV_DISPOSITION_DESCRIPTIONS;
    const AVDictionaryEntry* title = av_dict_get(stream.metadata, "title", nullptr, 0);
    if (stream.disposition & kNotTheFilm)
        return true;
    // "Director's Commentary", "Kommentar", "commentaire", "Audio Description", "descriptive audio".
    for (const char* word : {"comment", "comentari", "kommentar", "descripti"})
        if (title && ContainsCaseBlind(title->value, word))
            return true;
    return false;
}

bool HasBitmapSubtitles(const AVStream& stream) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(stream.codecpar->codec_id);
    return descriptor && (descriptor->props & AV_CODEC_PROP_BITMAP_SUB);
}

} // namespace velmora::encoder
