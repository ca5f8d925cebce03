#pragma once

#include "engine/PairIdentity.h"
#include "engine/RunReport.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velmora {

// The output pair a conversion is writing, and which two files the run created for it.
struct PairRecord {
    EntryId entry = 0;
    std::string video;
    std::string thumbnail;
    FileIdentity videoIdentity{};
    FileIdentity thumbnailIdentity{};
};

// What is known of each queued entry across runs and restarts: how its last conversion ended, whether
// its source has gone, and the pair being written now. The run writes it; the kept queue and the
// window read it.
class EntryOutcomes {
public:
    const EntryOutcome* Of(EntryId entry) const;
    bool Converted(EntryId entry) const;
    // Keeps the outcome for outcome.entry, replacing the one before.
    void Set(EntryOutcome outcome);
    // False when the entry had none.
    bool Forget(EntryId entry);
    // A new run: converted entries keep theirs, since the run passes them over; the rest and every
    // Missing mark go.
    void ClearUnconverted();

    void MarkMissing(EntryId entry) { missing_.insert(entry); }
    bool Missing(EntryId entry) const { return missing_.contains(entry); }

    // The parts stopped conversions of the entry kept, oldest first; a new run's outcome leaves them.
    const std::vector<KeptPart>& PartsOf(EntryId entry) const;
    void AddPart(EntryId entry, KeptPart part);
    void SetParts(EntryId entry, std::vector<KeptPart> parts);

    void SetPairBeingWritten(std::optional<PairRecord> pair) { pair_ = std::move(pair); }
    const std::optional<PairRecord>& PairBeingWritten() const { return pair_; }

private:
    std::unordered_map<EntryId, EntryOutcome> outcomes_;
    std::unordered_set<EntryId> missing_;
    std::unordered_map<EntryId, std::vector<KeptPart>> parts_;
    std::optional<PairRecord> pair_;
};

} // namespace velmora
