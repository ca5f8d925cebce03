#include "engine/ResumableRun.h"

#include "platform/ErrorReport.h"

namespace velmora {

std::vector<EntryId> EntriesLeftToConvert(const JobListView& jobs) {
    std::vector<EntryId> left;
    for (int position = 0, count = jobs.Count(); position < count; ++position)
        if (!jobs.EntryConverted(position))
            left.push_back(jobs.IdOfEntry(position));
    return left;
}

PairOnRecord::PairOnRecord(ConversionWindow& window, EntryId entry, const OutputPair& pair)
    : window_(window), entry_(entry) {
    window_.RecordPairBeingWritten(entry, pair.video, pair.thumbnail);
}

PairOnRecord::~PairOnRecord() {
    RunGuarded([this] { window_.RecordPairBeingWritten(entry_, {}, {}); });
}

} // namespace velmora
