#pragma once

#include "engine/ConversionViews.h"
#include "engine/EntryOutcomes.h"
#include "engine/OutputFiles.h"

#include <vector>

namespace velmora {

// The entries a run converts, in list order: those not converted by an earlier run.
std::vector<EntryId> EntriesLeftToConvert(const JobListView& jobs, const EntryOutcomes& outcomes);

// Keeps the pair, with which files the run created, on record in the outcomes and with the window
// for as long as this object lives, unless told to leave it there: then the next start settles it.
class PairOnRecord {
public:
    PairOnRecord(ConversionWindow& window, EntryOutcomes& outcomes, EntryId entry, const OutputPair& pair);
    ~PairOnRecord();
    PairOnRecord(const PairOnRecord&) = delete;
    PairOnRecord& operator=(const PairOnRecord&) = delete;

    // The encoder may still be writing it as the program ends.
    void LeaveOnRecord() { left_ = true; }
    const PairRecord& Record() const { return record_; }

private:
    ConversionWindow& window_;
    EntryOutcomes& outcomes_;
    PairRecord record_;
    bool left_ = false;
};

// The pair the encoders were to write is still theirs at its names: nothing replaced or removed it.
bool VideoStillAtName(const PairRecord& record);

// A complete video replaced the entry's earlier parts: each is removed while it is still the file that
// was kept, with its thumbnail. The names removed, "M4V<n>" each, joined by ", ".
std::string RemoveEarlierParts(const std::vector<KeptPart>& parts);

} // namespace velmora
