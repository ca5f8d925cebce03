#pragma once

#include "engine/ConversionViews.h"
#include "engine/OutputFiles.h"

#include <vector>

namespace velmora {

// The entries a run converts, in list order: those not converted by an earlier run.
std::vector<EntryId> EntriesLeftToConvert(const JobListView& jobs);

// Keeps the pair on record with the window for as long as this object lives.
class PairOnRecord {
public:
    PairOnRecord(ConversionWindow& window, EntryId entry, const OutputPair& pair);
    ~PairOnRecord();
    PairOnRecord(const PairOnRecord&) = delete;
    PairOnRecord& operator=(const PairOnRecord&) = delete;

private:
    ConversionWindow& window_;
    EntryId entry_;
};

} // namespace velmora
