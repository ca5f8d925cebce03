#include "engine/KeptQueue.h"
#include "engine/InterruptedPair.h"
#include "platform/AtomicFileWrite.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

namespace velmora::test {
namespace {

KeptEntry Entry(std::string source, std::optional<EntryResult> result = std::nullopt,
                std::optional<double> duration = std::nullopt, std::string name = {},
                std::string reason = {}) {
    KeptEntry entry{std::move(source), std::nullopt, duration};
    if (result)
        entry.outcome = EntryOutcome{
            0,  *result, entry.source,      std::move(name), std::move(reason), "no\tpicture", "sub\nnotes",
            42, 3600,    "Dolby\tVision 5", "M4V49999",      "unmeasured"};
    return entry;
}

auto Fields(const EntryOutcome& o) {
    return std::tie(o.result, o.source, o.outputName, o.reason, o.thumbnailReason, o.subtitleReason,
                    o.reachedSeconds, o.lengthSeconds, o.colourReason, o.replacedName, o.loudness);
}

void ExpectSame(const KeptQueue& read, const KeptQueue& written) {
    ASSERT_EQ(read.entries.size(), written.entries.size());
    for (std::size_t i = 0; i < read.entries.size(); ++i) {
        const KeptEntry &a = read.entries[i], &b = written.entries[i];
        EXPECT_TRUE(a.source == b.source && a.duration == b.duration) << i;
        ASSERT_EQ(a.outcome.has_value(), b.outcome.has_value()) << i;
        EXPECT_TRUE(!a.outcome || Fields(*a.outcome) == Fields(*b.outcome)) << i;
    }
    EXPECT_EQ(read.writing.has_value(), written.writing.has_value());
}

TEST(KeptQueueTest, TheFileGivesBackEveryByteOrderAndOutcome) {
    TemporaryFolder folder;
    KeptQueue odd;
    odd.entries = {Entry("/v/line\nfeed\r.avi", EntryResult::Converted, 5400.25, "M4V50000"),
                   Entry("/v/\xff\xfe not utf-8 \xc3.mkv", EntryResult::Failed, 0.1, "", "why = \\ here"),
                   Entry("/v/a=b;c\td\\e.avi", EntryResult::Stopped, std::nullopt, "M4V50001"),
                   Entry("/v/entry\tend\t5\n.wmv", EntryResult::NotReached),
                   Entry("/v/plain.avi"),
                   Entry("")};
    odd.writing = PairBeingWritten{4, "/out/M4V50002.MP4", "/out/M4V50002.THM"};
    KeptQueue large;
    for (int i = 0; i < 10000; ++i)
        large.entries.push_back(Entry("/videos/clip " + std::to_string(i) + ".avi",
                                      i % 3 == 0 ? std::optional(EntryResult::Converted) : std::nullopt,
                                      i * 1.5, "M4V" + std::to_string(50000 + i)));
    const KeptQueue none;
    for (const KeptQueue* queue : std::initializer_list<const KeptQueue*>{&odd, &large, &none}) {
        ASSERT_TRUE(ReplaceFileAtomically(folder / "queue", KeptQueueText(*queue)));
        const KeptQueueRead read = ReadKeptQueueFile(folder / "queue");
        ASSERT_FALSE(read.damaged || read.missing);
        ExpectSame(read.queue, *queue);
    }
    EXPECT_EQ(ParseKeptQueueText(KeptQueueText(odd))->writing->video, "/out/M4V50002.MP4");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"queue"});
    // A queue an earlier version kept reads as it always did, without the later notes.
    const std::optional<KeptQueue> read =
        ParseKeptQueueText("velmora queue 1\nentry\t/a\t1.5\tconverted\tM4V1\t\tno\\t"
                           "picture\tsub\\nnotes\t42\t3600\t/o/M4V0.MP4\t1\t2\nend\t1\n");
    ASSERT_TRUE(read && read->entries.size() == 1 && read->entries[0].parts.size() == 1);
    EXPECT_EQ(Fields(*read->entries[0].outcome),
              Fields({0, EntryResult::Converted, "/a", "M4V1", "", "no\tpicture", "sub\nnotes", 42, 3600}));
}

TEST(KeptQueueTest, ADamagedFileIsNoQueueAndAMissingOneIsToldApart) {
    TemporaryFolder folder;
    const std::string head = "velmora queue 1\n", end = "\nend\t1\n", entry = head + "entry\t/a";
    const std::string good = entry + ".avi\t-\t-\t\t\t\t\t0\t0" + end;
    ASSERT_FALSE(ReadKeptQueueFile(folder / "queue").damaged);
    EXPECT_TRUE(ReadKeptQueueFile(folder / "queue").missing);
    ASSERT_TRUE(ParseKeptQueueText(good));
    for (const std::string& text : std::vector<std::string>{
             std::string(), head, good.substr(0, good.size() - 1), "velmora queue 2" + good.substr(15),
             good.substr(0, good.find("end")) + "end\t2\n", entry + "\\q.avi\t-\t-\t\t\t\t\t0\t0" + end,
             entry + ".avi\t-\tdone\t\t\t\t\t0\t0" + end, entry + ".avi\tlong\t-\t\t\t\t\t0\t0" + end,
             entry + ".avi\t-\t-\t\t\t\t\t0" + end, entry + ".avi\t-\tstopped\t\t\t\t\tsome\t0" + end,
             KeptQueueText(KeptQueue{{}, PairBeingWritten{0, "/M4V1.MP4", "/M4V1.THM"}}),
             head + '\0' + "\nend\t0\n"}) {
        WriteTextFile(folder / "queue", text);
        const KeptQueueRead read = ReadKeptQueueFile(folder / "queue");
        EXPECT_TRUE(read.damaged && !read.missing && read.queue.entries.empty()) << text;
    }
}

std::string Box(const std::string& type, const std::string& body, std::optional<std::size_t> stated = {}) {
    const std::size_t size = stated.value_or(body.size() + 8);
    const std::string length{char(size >> 24), char(size >> 16 & 255), char(size >> 8 & 255),
                             char(size & 255)};
    return length + type + body;
}

TEST(KeptQueueTest, TheInterruptedPairIsRemovedOnlyWhenItsVideoIsIncomplete) {
    const std::string ftyp = Box("ftyp", "MSNVmp42"), mdat = Box("mdat", std::string(300, 'x'));
    // What, the video (nothing: no file), whether the pair is kept.
    const std::tuple<const char*, std::optional<std::string>, bool> cases[] = {
        {"complete", ftyp + mdat + Box("moov", Box("mvhd", std::string(92, '\0'))), true},
        {"index first", ftyp + Box("moov", "") + mdat, true},
        {"large box", ftyp + std::string("\0\0\0\1moov\0\0\0\0\0\0\0\x10", 16), true},
        {"no index, open-ended data", ftyp + Box("mdat", std::string(300, 'x'), 0), false},
        {"index cut short", ftyp + mdat + Box("moov", std::string(40, '\0'), 400), false},
        {"placeholder", std::string("temp\r\n"), false},
        {"empty", std::string(), false},
        {"gone", std::nullopt, false}};
    for (const auto& [what, content, kept] : cases) {
        SCOPED_TRACE(what);
        TemporaryFolder out;
        const std::string video = out / "M4V50003.MP4", thumbnail = out / "M4V50003.THM";
        if (content)
            WriteTextFile(video, *content);
        WriteTextFile(thumbnail, "jpeg");
        for (const char* other : {"M4V50002.MP4", "M4V50002.THM", "M4V50004.MP4", "notes.txt"})
            WriteTextFile(out / other, "");
        KeptQueue queue{{Entry("/v/a.avi", EntryResult::Converted), Entry("/v/b.avi")},
                        PairBeingWritten{1, video, thumbnail,
                                         IdentityOf(video).value_or(PairBeingWritten{}.videoIdentity),
                                         *IdentityOf(thumbnail)}};
        const std::optional<SettledPair> settled = SettleInterruptedPair(queue, std::chrono::milliseconds(0));
        ASSERT_TRUE(settled);
        EXPECT_EQ(settled->source, "/v/b.avi");
        EXPECT_EQ(settled->keptName, kept ? "M4V50003" : "");
        EXPECT_EQ(PathExists(video), kept && content);
        EXPECT_EQ(PathExists(thumbnail), kept);
        EXPECT_EQ(FolderEntries(out.Path()).size(), kept ? 6u : 4u);
        EXPECT_FALSE(queue.writing);
        ASSERT_TRUE(queue.entries[1].outcome && queue.entries[0].outcome);
        EXPECT_EQ(queue.entries[1].outcome->result, EntryResult::Stopped);
        EXPECT_EQ(queue.entries[1].outcome->outputName, settled->keptName);
        EXPECT_EQ(queue.entries[0].outcome->result, EntryResult::Converted);
    }
    // A record naming no output pair touches nothing.
    TemporaryFolder out;
    WriteTextFile(out / "movie.mp4", "");
    WriteTextFile(out / "movie.THM", "");
    KeptQueue queue{{Entry("/v/a.avi")}, PairBeingWritten{0, out / "movie.mp4", out / "movie.THM"}};
    EXPECT_TRUE(SettleInterruptedPair(queue, std::chrono::milliseconds(0)));
    EXPECT_EQ(FolderEntries(out.Path()).size(), 2u);
    KeptQueue nothing{{Entry("/v/a.avi")}, std::nullopt};
    EXPECT_FALSE(SettleInterruptedPair(nothing));
}

std::string Mp4Playing(std::uint32_t ms) { // a complete MP4 whose movie header says so
    std::string header(100, '\0');
    for (int i = 0; i < 4; ++i)
        header[12 + i] = char(1000 >> (24 - 8 * i) & 255), header[16 + i] = char(ms >> (24 - 8 * i) & 255);
    return Box("ftyp", "MSNVmp42") + Box("mdat", std::string(300, 'x')) + Box("moov", Box("mvhd", header));
}

// A damaged or unchecked record, or another file at the name, removes nothing; the list stays.
TEST(KeptQueueTest, OnlyAnIntactRecordOfTheRunsOwnPairRemovesIt) {
    for (const char* what : {"damaged", "checksum", "replaced", "unchecked"}) {
        TemporaryFolder out;
        const std::string video = out / "M4V50000.MP4", thumbnail = out / "M4V50000.THM", what_(what);
        WriteTextFile(video, "half");
        WriteTextFile(thumbnail, "jpeg");
        std::string text = KeptQueueText(
            {{Entry("/v/a.avi")},
             PairBeingWritten{0, video, thumbnail, *IdentityOf(video), *IdentityOf(thumbnail)}});
        const std::size_t end = text.size() - 8; // the checksum's last character
        if (what_ == "replaced")
            WriteTextFile(out / "other", "another"), rename((out / "other").c_str(), video.c_str());
        if (what_ != "replaced")
            what_ == "unchecked" ? text.erase(end - 16, 17)
                                 : text.replace(what_ == "damaged" ? text.find("M4V") : end, 1, 1, 'g');
        std::optional<KeptQueue> read = ParseKeptQueueText(text);
        ASSERT_TRUE(read && read->entries.size() == 1) << what;
        SettleInterruptedPair(*read, std::chrono::milliseconds(0));
        EXPECT_EQ(FolderEntries(out.Path()).size(), 2u) << what;
    }
}

// At restart a complete video as long as its source is converted; a shorter one is a part that
// reaches as far as it plays, whether the pair was on record or the part kept before.
TEST(KeptQueueTest, ARestartTellsAFinishedVideoFromAPartAndHowLongThePartPlays) {
    const std::tuple<std::uint32_t, bool, EntryResult, std::int64_t> cases[] = {
        {20300, true, EntryResult::Converted, 0},
        {8400, true, EntryResult::Stopped, 8},
        {12000, false, EntryResult::Stopped, 12}};
    for (const auto& [ms, onRecord, result, reached] : cases) {
        TemporaryFolder out;
        const std::string video = out / "M4V50001.MP4";
        WriteTextFile(video, Mp4Playing(ms));
        KeptQueue queue{{Entry("/v/a.avi", onRecord ? std::nullopt : std::optional(EntryResult::Stopped),
                               20.0, "M4V50001")},
                        std::nullopt};
        if (onRecord)
            queue.writing = PairBeingWritten{0, video, out / "M4V50001.THM", *IdentityOf(video)};
        else
            queue.entries[0].outcome->reachedSeconds = 0,
            queue.entries[0].parts = {{video, *IdentityOf(video)}};
        SettleInterruptedPair(queue, std::chrono::milliseconds(0));
        FillKeptLengths(queue);
        const KeptEntry entry = ParseKeptQueueText(KeptQueueText(queue)).value().entries.at(0);
        EXPECT_EQ(std::tuple(entry.outcome->result, entry.outcome->outputName, entry.outcome->reachedSeconds,
                             entry.parts.size()),
                  std::tuple(result, "M4V50001", reached, result == EntryResult::Stopped ? 1u : 0u))
            << ms;
    }
}

} // namespace
} // namespace velmora::test
