// libq7z takes the sound and subtitles a desktop player would, or those the preferences ask for.
#include "encoder/SidecarFiles.h"
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::test {
namespace {

const std::string kSubRip = "1\n00:00:00,500 --> 00:00:01,500\nHello\n\n";
const std::string kAss = "[Script Info]\nScriptType: v4.00+\n\n[Events]\nFormat: Layer, Start, End, Style, "
                         "Text\nDialogue: 0,0:00:00.50,0:00:01.50,Default,Hello\n";

// The probe's facts about tracks and notes, each line one entry; the length, picture and crop are
// other tests' business.
std::vector<std::string> Probe(const std::string& source, std::vector<std::string> words) {
    words.insert(words.begin(), {EncoderPath(), "-probe"});
    words.push_back(source);
    std::istringstream lines(RunTool(words));
    std::vector<std::string> facts;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("duration ", 0) != 0 && line.rfind("picture ", 0) != 0 && line.rfind("crop ", 0) != 0)
            facts.push_back(line);
    return facts;
}

// Makes a source of two seconds of picture with the inputs and options written as blank-separated words.
void MakeFilm(const std::string& path, const std::string& words) {
    std::vector<std::string> arguments = {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=2"};
    std::istringstream split(words);
    for (std::string word; split >> word;)
        arguments.push_back(word);
    MakeSource(path, arguments);
}

class TrackChoice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TemporaryFolder>();
        WriteTextFile(*folder_ / "en.srt", kSubRip);
        WriteTextFile(*folder_ / "ja.ass", kAss);
        const std::string subtitles = " -i " + *folder_ / "en.srt" + " -i " + *folder_ / "ja.ass";
        // A silent English sound track first, Japanese flagged default, an English commentary; SubRip, ASS.
        MakeFilm(*folder_ / "film.mkv",
                 "-f lavfi -i anullsrc=duration=2 -f lavfi -i sine=duration=2 -f lavfi -i sine=duration=2" +
                     subtitles +
                     " -map 0 -map 1 -map 2 -map 3 -map 4 -map 5 -c:v mpeg4 -c:a mp2 -c:s copy"
                     " -metadata:s:a:0 language=eng -metadata:s:a:1 language=jpn -metadata:s:a:2 language=eng"
                     " -metadata:s:a:2 title=Director's.commentary -metadata:s:s:0 language=eng"
                     " -metadata:s:s:1 language=jpn -disposition:a:0 0 -disposition:a:1 default"
                     " -disposition:a:2 0 -disposition:s:0 0 -disposition:s:1 forced");
        // MP4 flags the first track of each kind: here a commentary.
        MakeFilm(*folder_ / "film.mp4",
                 "-f lavfi -i sine=duration=2" + subtitles +
                     " -map 0 -map 1 -map 1 -map 2 -map 2 -c:v mpeg4 -c:a aac -c:s mov_text"
                     " -metadata:s:a:0 language=eng -metadata:s:a:1 language=jpn -disposition:a:0 comment"
                     " -metadata:s:s:0 language=eng -metadata:s:s:1 language=zho");
        // Every track flagged default, the way Matroska reads when nothing was said: the flag tells nothing.
        MakeFilm(*folder_ / "alldefault.mkv",
                 "-f lavfi -i sine=duration=2" + subtitles +
                     " -map 0 -map 1 -map 1 -map 1 -map 2 -map 2 -c:v mpeg4 -c:a mp2 -c:s copy"
                     " -metadata:s:a:0 title=Commentary -metadata:s:a:1 language=fre"
                     " -metadata:s:a:2 language=ger -metadata:s:s:0 language=eng -metadata:s:s:1 language=ger"
                     " -disposition:a default -disposition:s default");
    }
    static void TearDownTestSuite() { folder_.reset(); }
    inline static std::unique_ptr<TemporaryFolder> folder_;
};

TEST_F(TrackChoice, TakesWhatTheSourceFlagsOrThePreferencesAsk) {
    // Source, preferences, then the sound and subtitle facts the probe must give.
    const std::vector<std::tuple<std::string, std::vector<std::string>, std::string, std::string>> cases = {
        {"film.mkv", {}, "sound 2 jpn default", "subtitles stream 5 jpn forced"},
        {"film.mkv", {"-alang", "en"}, "sound 1 eng -", "subtitles stream 5 jpn forced"},
        {"film.mkv", {"-alang", "ger,eng,jpn"}, "sound 1 eng -", "subtitles stream 5 jpn forced"},
        {"film.mkv", {"-alang", "deu", "-subs", "0"}, "sound 2 jpn default", "subtitles none"},
        {"film.mkv", {"-subs", "1", "-slang", "eng"}, "sound 2 jpn default", "subtitles stream 5 jpn forced"},
        {"film.mkv", {"-subs", "2", "-slang", "fre,en"}, "sound 2 jpn default", "subtitles stream 4 eng -"},
        {"film.mkv", {"-subs", "2", "-slang", "fre"}, "sound 2 jpn default", "subtitles stream 5 jpn forced"},
        {"film.mp4", {}, "sound 2 jpn -", "subtitles stream 3 eng default"},
        {"film.mp4", {"-alang", "en-GB"}, "sound 1 eng default,commentary", "subtitles stream 3 eng default"},
        {"film.mp4", {"-alang", "eng,jpn"}, "sound 2 jpn -", "subtitles stream 3 eng default"},
        {"film.mp4", {"-subs", "2", "-slang", "zh"}, "sound 2 jpn -", "subtitles stream 4 chi -"},
        {"alldefault.mkv", {}, "sound 2 fre default", "subtitles none"},
        {"alldefault.mkv",
         {"-alang", "de", "-subs", "2", "-slang", "de"},
         "sound 3 ger default",
         "subtitles stream 5 ger default"},
    };
    for (const auto& [source, preferences, sound, subtitles] : cases)
        EXPECT_EQ(Probe(*folder_ / source, preferences), (std::vector<std::string>{sound, subtitles}))
            << source << " " << ::testing::PrintToString(preferences);
}

TEST_F(TrackChoice, TheVideoCarriesTheChosenSound) {
    // The default Japanese track is a tone; the preferred English one is silent.
    for (const auto& [preferences, loud] :
         {std::pair{std::vector<std::string>{}, true}, {std::vector<std::string>{"-alang", "eng"}, false}}) {
        std::vector<std::string> words = VideoWords(*folder_ / "film.mkv", *folder_ / "out.mp4");
        words.insert(words.begin() + 2, preferences.begin(), preferences.end());
        EncoderResult result = RunEncoder(words, InputClosed());
        ASSERT_EQ(result.exitCode, 0) << result.errorText;
        double level = MeanVolume(*folder_ / "out.mp4");
        EXPECT_EQ(level > -40, loud) << level << " dB";
    }
}

TEST(SidecarFiles, FindsTheFilesNamedAfterTheSourceAndChoosesAmongThem) {
    TemporaryFolder folder;
    MakeFilm(folder / "film.mkv", "-c:v mpeg4");
    for (const std::string name : {"film.srt", "film.en.srt", "film.ja.forced.ass", "film.jpn.srt",
                                   "film.fre.SRT", "other.srt", "film.part2.srt", "filmx.srt", "film.txt"})
        WriteTextFile(folder / name, kSubRip);
    ASSERT_EQ(mkfifo((folder / "film.de.vtt").c_str(), 0600), 0);
    MakeFolder(folder / "film.chi.srt");
    ASSERT_EQ(symlink("film.srt", (folder / "film.kor.ssa").c_str()), 0);
    std::vector<std::string> found;
    for (const encoder::SidecarFile& sidecar : encoder::FindSidecarFiles(folder / "film.mkv"))
        found.push_back(sidecar.path.substr(folder.Path().size()) + " " + sidecar.language +
                        (sidecar.forced ? " forced" : ""));
    EXPECT_EQ(found, (std::vector<std::string>{"film.srt und", "film.en.srt eng", "film.fre.SRT fre",
                                               "film.jpn.srt jpn", "film.kor.ssa kor",
                                               "film.ja.forced.ass jpn forced"}));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "und film.srt"},
        {{"-slang", "ja"}, "jpn film.jpn.srt"},
        {{"-subs", "2", "-slang", "fra,eng"}, "fre film.fre.SRT"},
        {{"-subs", "2", "-slang", "ko"}, "kor film.kor.ssa"},
        {{"-subs", "2", "-slang", "de,zh"}, "und film.srt"}, // a named pipe and a folder are no subtitles
    };
    for (const auto& [preferences, expected] : cases)
        EXPECT_EQ(Probe(folder / "film.mkv", preferences)[1],
                  "subtitles file " + expected.substr(0, 4) + folder.Path() + expected.substr(4))
            << ::testing::PrintToString(preferences);
    EXPECT_EQ(Probe(folder / "film.mkv", {"-subs", "0"})[1], "subtitles none");
}

TEST(SidecarFiles, ReadsTextInItsEncoding) {
    TemporaryFolder folder;
    // The text in UTF-8, and the encoding iconv writes it in: as detected, or with a byte-order mark.
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases = {
        {kSubRip + "今日はいい天気ですね。\\N明日も晴れるでしょうか。\n", "SHIFT_JIS", "", "CP932"},
        {kSubRip + "今天天气很好，我们去公园散步吧。谢谢你。\n", "GBK", "", "GB18030"},
        {kSubRip + "Привет! Как дела? Сегодня хорошая погода.\n", "CP1251", "", "CP1251"},
        {kSubRip + "Grüße", "UTF-16LE", "\xFF\xFE", "UTF-16LE"},
        {kSubRip + "Grüße", "UTF-8", "\xEF\xBB\xBF", "UTF-8"},
    };
    for (const auto& [text, written, mark, expected] : cases) {
        WriteTextFile(folder / "utf8.srt", text);
        WriteTextFile(folder / "film.srt",
                      mark + RunTool({"iconv", "-f", "UTF-8", "-t", written, folder / "utf8.srt"}));
        encoder::SidecarText read = encoder::ReadSidecarText(folder / "film.srt");
        EXPECT_EQ(std::tie(read.characterSet, read.utf8), std::tie(expected, text)) << written;
    }
}

TEST(SidecarFiles, OneThatCannotBeReadIsPassedOverWithANote) {
    TemporaryFolder folder;
    MakeFilm(folder / "film.mkv", "-c:v mpeg4");
    WriteTextFile(folder / "film.srt", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    ASSERT_EQ(symlink("gone.srt", (folder / "film.en.srt").c_str()), 0);
    WriteTextFile(folder / "film.ja.ass", kAss);
    EXPECT_EQ(Probe(folder / "film.mkv", {}),
              (std::vector<std::string>{
                  "sound none", "subtitles file jpn " + folder / "film.ja.ass",
                  "note Sidecar 'film.srt' could not be read: it does not hold text in any known encoding",
                  "note Sidecar 'film.en.srt' could not be read: No such file or directory"}));
}

TEST(SidecarFiles, ShortLegacyTextIsReadWithTheLanguageOfItsNameOrOfTheWindow) {
    TemporaryFolder folder;
    MakeFilm(folder / "film.mp4", "-c:v mpeg4");
    // The file's name, its encoding, its text, the window's language (-uilang).
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases = {
        {"film.zh.srt", "GBK", "你好世界", ""},      {"film.chs.srt", "GBK", "简体字幕", ""},
        {"film.cht.srt", "BIG5", "繁體字幕", ""},    {"film.ja.srt", "SHIFT_JIS", "はい", ""},
        {"film.srt", "GBK", "你好世界", "chi-hans"}, {"film.srt", "CP1250", "Příliš žluťoučký kůň", "cze"},
        {"film.srt", "SHIFT_JIS", "はい", "jpn"},
    };
    for (const auto& [name, written, text, window] : cases) {
        SCOPED_TRACE(name + " " + written);
        WriteTextFile(folder / "utf8.txt", kSubRip.substr(0, kSubRip.size() - 7) + text + "\n");
        WriteTextFile(folder / name, RunTool({"iconv", "-f", "UTF-8", "-t", written, folder / "utf8.txt"}));
        std::vector<std::string> words;
        std::vector<encoder::LanguageHint> hints;
        for (const encoder::SidecarFile& sidecar : encoder::FindSidecarFiles(folder / "film.mp4"))
            if (!sidecar.languageHint.empty())
                hints.push_back({sidecar.languageHint, true});
        if (!window.empty())
            words = {"-uilang", window}, hints.push_back({encoder::LanguageHintFor(window), false});
        EXPECT_EQ(Probe(folder / "film.mp4", words)[1].substr(0, 15), "subtitles file ");
        EXPECT_EQ(encoder::ReadSidecarText(folder / name, hints).utf8, ReadTextFile(folder / "utf8.txt"));
        unlink((folder / name).c_str());
    }
}

TEST(SidecarFiles, TheNamedSidecarIsOneThatParsesAndNamesPeopleUseAreFound) {
    const std::string prose = "This is not a subtitle file at all.\nJust some notes.\n";
    // Files beside film.mp4, the preferences, then the probe's subtitle fact (file, language).
    using Files = std::vector<std::pair<std::string, std::string>>;
    const std::vector<std::tuple<Files, std::vector<std::string>, std::string>> cases = {
        {{{"film.srt", prose}, {"film.en.srt", kSubRip}}, {}, "eng film.en.srt"},
        {{{"film.English.srt", kSubRip}}, {"-subs", "2", "-slang", "en"}, "eng film.English.srt"},
        {{{"film.1.srt", kSubRip}}, {}, "und film.1.srt"},
        {{{"Film.ENG.forced.srt", kSubRip}}, {"-subs", "2", "-slang", "eng"}, "eng Film.ENG.forced.srt"},
        {{{"film.chs.srt", kSubRip}, {"film.ja.srt", kSubRip}},
         {"-subs", "2", "-slang", "zh"},
         "chi film.chs.srt"},
        {{{"film.cht.ass", kAss}}, {"-subs", "2", "-slang", "chi"}, "chi film.cht.ass"},
    };
    for (const auto& [files, preferences, expected] : cases) {
        SCOPED_TRACE(expected);
        TemporaryFolder folder;
        MakeFilm(folder / "film.mp4", "-c:v mpeg4");
        for (const auto& [name, text] : files)
            WriteTextFile(folder / name, text);
        EXPECT_EQ(Probe(folder / "film.mp4", preferences)[1],
                  "subtitles file " + expected.substr(0, 4) + folder / expected.substr(4));
    }
}

} // namespace
} // namespace velmora::test
