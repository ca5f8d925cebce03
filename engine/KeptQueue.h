#pragma once

#include "engine/PairIdentity.h"
#include "engine/RunReport.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One job-list entry as kept between sessions.
struct KeptEntry {
    std::string source; // the path's exact bytes
    // How its last conversion ended; nothing while it has not been converted.
    std::optional<EntryOutcome> outcome;
    // How long it plays, in seconds, when known.
    std::optional<double> duration;
    // The parts its stopped conversions kept, oldest first.
    std::vector<KeptPart> parts{};
};

// The output pair a conversion is writing, kept so that the next start can tell a pair a crash or a
// power loss left half-written, and which two files the run created, so that nothing else is taken
// for them.
struct PairBeingWritten {
    std::size_t entry = 0; // its entry's position in the queue
    std::string video;
    std::string thumbnail;
    FileIdentity videoIdentity{};
    FileIdentity thumbnailIdentity{};
};

// The job list as it is kept between sessions, in order.
struct KeptQueue {
    std::vector<KeptEntry> entries;
    std::optional<PairBeingWritten> writing;
};

// One line per entry, tab-separated, with backslash escapes, under a version line and above a closing
// line with the count; nothing but Velmora reads or writes it. The pair being written carries a
// checksum: a record that does not match it, or one without the files' identities (an older
// version's), is left out, so that a damaged line never leads to removing a file.
std::string KeptQueueText(const KeptQueue& queue);
// Nothing when the text is not such a queue: damaged, cut short, or another version's.
std::optional<KeptQueue> ParseKeptQueueText(std::string_view text);

// How reading the queue file went.
struct KeptQueueRead {
    KeptQueue queue;
    bool missing = false; // no file: nothing was kept
    bool damaged = false; // a file that is not a queue, empty, unreadable or too large
};
KeptQueueRead ReadKeptQueueFile(const std::string& path);

} // namespace velmora
