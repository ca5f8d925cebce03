#include "engine/EntryOutcomes.h"

#include <utility>

namespace velmora {

const EntryOutcome* EntryOutcomes::Of(EntryId entry) const {
    const auto found = outcomes_.find(entry);
    return found != outcomes_.end() ? &found->second : nullptr;
}

bool EntryOutcomes::Converted(EntryId entry) const {
    const EntryOutcome* outcome = Of(entry);
    return outcome != nullptr && outcome->result == EntryResult::Converted;
}

void EntryOutcomes::Set(EntryOutcome outcome) {
    const EntryId entry = outcome.entry;
    outcomes_[entry] = std::move(outcome);
}

bool EntryOutcomes::Forget(EntryId entry) {
    return outcomes_.erase(entry) > 0;
}

void EntryOutcomes::ClearUnconverted() {
    std::erase_if(outcomes_, [](const auto& kept) { return kept.second.result != EntryResult::Converted; });
    missing_.clear();
}

const std::vector<KeptPart>& EntryOutcomes::PartsOf(EntryId entry) const {
    static const std::vector<KeptPart> none;
    const auto found = parts_.find(entry);
    return found != parts_.end() ? found->second : none;
}

void EntryOutcomes::AddPart(EntryId entry, KeptPart part) {
    parts_[entry].push_back(std::move(part));
}

void EntryOutcomes::SetParts(EntryId entry, std::vector<KeptPart> parts) {
    if (parts.empty())
        parts_.erase(entry);
    else
        parts_[entry] = std::move(parts);
}

} // namespace velmora
