#include "engine/TrackPreferences.h"
#include "engine/CropSetting.h"
#include "engine/EncoderCommandLines.h"
#include "engine/ProbeAnswer.h"
#include "engine/TrackDescription.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using Words = std::vector<std::string>;
using Kind = ProbedTrack::Kind;

ProbedTrack Stream(int index, const std::string& language, Words flags = {}) {
    return {Kind::Stream, index, language, std::move(flags), ""};
}
ProbedTrack Sidecar(const std::string& language, const std::string& path) {
    return {Kind::File, -1, language, {}, path};
}

TEST(TrackPreferences, StoredValuesReadAsGivenOrAsTheDefault) {
    const std::vector<std::pair<std::string, TrackPreferences>> cases{
        {"", {}},
        {"[setting]\naudioLanguages=jpn,eng\nsubtitles=2\nsubtitleLanguages=eng\n",
         {{"jpn", "eng"}, 2, {"eng"}}},
        {"[SETTING]\nAudioLanguages= JPN , en ,jpn\nsubtitles= 0 \n", {{"jpn", "en"}, 0, {}}},
        {"[setting]\naudioLanguages=jpn,,eng\nsubtitles=3\nsubtitleLanguages=english\n", {}},
        {"[setting]\naudioLanguages=j1n\nsubtitles=0x2\nsubtitleLanguages=fr;de\n", {}},
        {"[setting]\naudioLanguages=,\nsubtitles=\nsubtitleLanguages=\xE6\x97\xA5\n", {}},
        {"[common]\naudioLanguages=jpn\nsubtitles=0\n", {}},
    };
    TemporaryFolder folder;
    for (const auto& [stored, expected] : cases) {
        WriteTextFile(folder / "config.ini", stored);
        EXPECT_EQ(ReadTrackPreferences(ProfileFile(folder / "config.ini")), expected) << stored;
    }
}

TEST(TrackPreferences, OnlyTheChangedKeysAreWritten) {
    TemporaryFolder folder;
    const ProfileFile config(folder / "config.ini");
    const std::string byHand = "[setting]\naudioLanguages=JPN, en\nsubtitles=junk\n";
    WriteTextFile(folder / "config.ini", byHand);
    const TrackPreferences stored = ReadTrackPreferences(config);
    WriteTrackPreferences(config, stored, stored);
    EXPECT_EQ(ReadTextFile(folder / "config.ini"), byHand);
    TrackPreferences changed = stored;
    changed.subtitleLanguages = {"chi", "eng"};
    WriteTrackPreferences(config, stored, changed);
    EXPECT_EQ(ReadTextFile(folder / "config.ini"), byHand + "subtitleLanguages=chi,eng\n");
    changed.subtitles = 0;
    changed.audioLanguages = {};
    WriteTrackPreferences(config, stored, changed);
    EXPECT_EQ(ReadTextFile(folder / "config.ini"),
              "[setting]\naudioLanguages=\nsubtitles=0\nsubtitleLanguages=chi,eng\n");
}

TEST(TrackPreferences, TheEncoderGetsOnlyTheWordsThatDifferFromItsDefaults) {
    // Stored preferences, the window's language, the words for the encoder.
    const std::vector<std::tuple<TrackPreferences, std::string, Words>> cases{
        {TrackPreferences{}, "eng", {}},
        {TrackPreferences{}, "jpn", {}},
        {{{"jpn", "eng"}, 1, {}}, "eng", {"-alang", "jpn,eng"}},
        {{{}, 0, {"fre"}}, "eng", {"-subs", "0"}},
        {{{}, 2, {}}, "chi", {"-subs", "2", "-slang", "chi"}},
        {{{}, 2, {"eng", "jpn"}}, "chi", {"-subs", "2", "-slang", "eng,jpn"}},
        {{{"kor"}, 1, {"ger"}}, "jpn", {"-alang", "kor", "-slang", "ger"}},
    };
    for (const auto& [stored, window, expected] : cases) {
        const Words words = TrackPreferenceWords(stored, window);
        EXPECT_EQ(words, expected) << LanguageListText(stored.audioLanguages) << " " << stored.subtitles;
        Words video = BuildVideoCommandLine("/p/", EncodingSettings{}, "/in/a b.mkv", "/out/M.MP4");
        video.insert(video.begin() + 3, words.begin(), words.end());
        EXPECT_EQ(BuildVideoCommandLine("/p/", EncodingSettings{}, "/in/a b.mkv", "/out/M.MP4", words),
                  video);
        const Words thumbnail = BuildThumbnailCommandLine("/p/", "s", "t", words);
        EXPECT_EQ(Words(thumbnail.begin() + 3, thumbnail.end() - 11), words);
        EXPECT_EQ(thumbnail.back(), "t");
    }
}

TEST(TrackPreferences, TheWindowsLanguageGoesAlongAsAHintForSubtitleText) {
    EXPECT_EQ(TrackPreferenceWords({}, "chi", "chi-hans"), (Words{"-uilang", "chi-hans"}));
    EXPECT_EQ(TrackPreferenceWords({{}, 2, {}}, "jpn", "jpn"),
              (Words{"-subs", "2", "-slang", "jpn", "-uilang", "jpn"}));
}

TEST(CropSetting, BothLinesCropUnlessTheStoredValueIsZero) {
    const std::vector<std::pair<std::string, Words>> cases{
        {"", {"-crop", "auto"}},
        {"[setting]\ncropBlackBars=1\n", {"-crop", "auto"}},
        {"[setting]\ncropBlackBars=0\n", {"-crop", "off"}},
        {"[Setting]\ncropblackbars= 0 \n", {"-crop", "off"}},
        {"[setting]\ncropBlackBars=junk\n", {"-crop", "auto"}},
        {"[common]\ncropBlackBars=0\n", {"-crop", "auto"}}};
    TemporaryFolder folder;
    const ProfileFile config(folder / "config.ini");
    for (const auto& [stored, expected] : cases) {
        WriteTextFile(folder / "config.ini", stored);
        EXPECT_EQ(CropWords(ReadCropBlackBars(config)), expected) << stored;
    }
}

TEST(CropSetting, TheProbedBarsGoOnEveryLineAndNoneOnlyWhereJudged) {
    // The probe's answer; the crop words with cropping on, whether the bars were judged.
    const std::vector<std::tuple<std::string, Words, bool>> cases{
        {"crop 640x272 0 104\n", {"-crop", "640x272:0:104"}, true},
        {"crop none nobars\n", {"-crop", "off"}, true},
        {"crop none dark\n", {"-crop", "off"}, false},
        {"crop none short\r\n", {"-crop", "off"}, false},
        {"crop none undecodable\n", {"-crop", "off"}, false}};
    for (const auto& [answer, words, judged] : cases) {
        const std::optional<CropFinding> found = ReadProbeAnswer(answer).crop;
        EXPECT_EQ(CropWords(true, found), words) << answer;
        EXPECT_EQ(found && found->Judged(), judged) << answer;
    }
}

TEST(ProbeAnswers, EveryFactIsReadAndAnythingElsePassedOver) {
    const std::vector<std::pair<std::string, ProbeAnswer>> cases{
        {"duration 60.023\nsound 1 jpn default\nsubtitles stream 3 eng forced,default\n",
         {60.023, Stream(1, "jpn", {"default"}), Stream(3, "eng", {"forced", "default"}), {}}},
        {"duration 5.000\r\nsound none\r\nsubtitles file und /v/my film.en.srt\r\n",
         {5.0, ProbedTrack{}, Sidecar("und", "/v/my film.en.srt"), {}}},
        {"note Sidecar 'film.fr.srt' could not be read: bad bytes\nsubtitles none\nsound 2 und -\n"
         "note second note\n",
         {std::nullopt, Stream(2, "und"), ProbedTrack{},
          Words{"Sidecar 'film.fr.srt' could not be read: bad bytes", "second note"}}},
        // Unknown facts, misspelt ones and broken ones leave the rest alone.
        {"crop 0 0 320 240\nduration 12.5\nsound x jpn -\nsound 1 JAPANESE -\nsubtitles stream 3 eng\n"
         "subtitles file eng\nnote\nSOUND 1 jpn -\n\n \xFF\xFE garbage",
         {12.5, std::nullopt, std::nullopt, {}}},
        {"duration -3\nduration nan\n", {}},
        {"picture hlg\npicture pq dolby-vision-8\n", {{}, {}, {}, {}, ProbedPicture{"pq", 8}}},
        {"picture hdr\npicture pq dolby-vision-x\npicture sdr extra\n", {}},
        {"", {}},
    };
    for (const auto& [answer, expected] : cases)
        EXPECT_EQ(ReadProbeAnswer(answer), expected) << answer;
    EXPECT_EQ(ReadProbeAnswer(std::string(20, '\n') + "note nnnnnnnnnnnnnnnnnnnn\n").notes.size(), 1u);
    std::string flood;
    for (int i = 0; i < 50; ++i)
        flood += "note " + std::string(1000, 'x') + "\n";
    const ProbeAnswer bounded = ReadProbeAnswer(flood);
    EXPECT_EQ(bounded.notes.size(), 8u);
    EXPECT_EQ(bounded.notes.front().size(), 300u);
}

TEST(ProbeAnswers, TheTooltipTellsSoundSubtitlesAndNotes) {
    const std::vector<std::pair<ProbeAnswer, std::string>> cases{
        {{60, Stream(1, "jpn", {"default"}), Stream(3, "en"), {}},
         "Sound: 日本語 (default) · Subtitles: English (burned in)"},
        {{60, Stream(1, "und", {"commentary", "default"}), Sidecar("eng", "/v/film.en.srt"), {}},
         "Sound: language not marked (default, commentary) · Subtitles: film.en.srt (burned in)"},
        {{60, ProbedTrack{}, ProbedTrack{}, {"Sidecar 'a.srt' could not be read: x"}},
         "Sound: none · Subtitles: none\nSidecar 'a.srt' could not be read: x"},
        {{60, Stream(2, "fin", {"bitmap"}), std::nullopt, {}}, "Sound: Suomi"},
        {{60, std::nullopt, Stream(4, "zho", {"forced", "bitmap"}), {}},
         "Subtitles: 中文, forced (burned in)"},
        {{60, std::nullopt, std::nullopt, {}}, ""},
        {{60, Stream(1, "fin"), std::nullopt, {}, ProbedPicture{"hlg", 8}},
         "Sound: Suomi\nPicture: HDR (HLG), adapted to the PSP's screen"},
        {{60, std::nullopt, std::nullopt, {"n"}, ProbedPicture{"pq", 5}},
         "Picture: Dolby Vision profile 5, adapted to the PSP's screen (colours may be wrong)\nn"},
        {{60, std::nullopt, std::nullopt, {}, ProbedPicture{"sdr", -1}}, ""},
    };
    for (const auto& [answer, told] : cases)
        EXPECT_EQ(DescribeTracks(answer, TrackTexts{}), told);
}

} // namespace
} // namespace velmora::test
