#include "engine/ResumableRun.h"

#include "platform/ErrorReport.h"

namespace velmora {

std::vector<EntryId> EntriesLeftToConvert(const JobListView& jobs, const EntryOutcomes& outcomes) {
    std::vector<EntryId> left;
    for (int position = 0, count = jobs.Count(); position < count; ++position)
        if (!outcomes.Converted(jobs.IdOfEntry(position)))
            left.push_back(jobs.IdOfEntry(position));
    return left;
}

PairOnRecord::PairOnRecord(ConversionWindow& window, EntryOutcomes& outcomes, EntryId entry,
                           const OutputPair& pair)
    : window_(window), outcomes_(outcomes), record_{entry, pair.video, pair.thumbnail,
                                                    IdentityOf(pair.video).value_or(FileIdentity{}),
                                                    IdentityOf(pair.thumbnail).value_or(FileIdentity{})} {
    outcomes_.SetPairBeingWritten(record_);
    window_.RecordPairBeingWritten(entry, pair.video, pair.thumbnail);
}

PairOnRecord::~PairOnRecord() {
    if (left_)
        return;
    outcomes_.SetPairBeingWritten(std::nullopt);
    RunGuarded([this] { window_.RecordPairBeingWritten(record_.entry, {}, {}); });
}

bool VideoStillAtName(const PairRecord& record) {
    return IdentityOf(record.video) == record.videoIdentity;
}

std::string RemoveEarlierParts(const std::vector<KeptPart>& parts) {
    std::string names;
    for (const KeptPart& part : parts) {
        const OutputPair pair{part.video, ThumbnailPathFor(part.video)};
        if (!RemoveIfStill(part.video, part.identity))
            continue;
        // Its picture goes with it; a thumbnail left alone would show a film the PSP no longer has.
        if (IdentityOf(pair.thumbnail))
            RemoveOutputFile(pair.thumbnail);
        names += (names.empty() ? "" : ", ") + pair.Name();
    }
    return names;
}

} // namespace velmora
