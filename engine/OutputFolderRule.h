#pragma once

#include <optional>
#include <string>

namespace velmora {

// The folder a run writes into, from the output folder's text: "~" and "~/..." stand for the home
// folder; an absolute path (and the empty text, which the folder step refuses itself) stays as typed.
// Any other text is relative, which would depend on the folder the program was started from, and
// gives nothing.
std::optional<std::string> AbsoluteOutputFolder(const std::string& text, const std::string& home);

// The home folder: $HOME when it is absolute, else the password database's entry; empty when neither.
std::string HomeFolder();

} // namespace velmora
