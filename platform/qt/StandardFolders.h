#pragma once

#include <string>

namespace velmora {

// The user's videos folder (normally ~/Videos), with a trailing '/'.
std::string VideosFolder();

// The user's configuration folder ($XDG_CONFIG_HOME when it is absolute, else ~/.config), with a
// trailing '/'.
std::string UserConfigFolder();

// The user's folder for state kept between sessions ($XDG_STATE_HOME when it is absolute, else
// ~/.local/state), with a trailing '/'.
std::string UserStateFolder();

// The folder for temporary files, with a trailing '/'.
std::string SystemTemporaryFolder();

} // namespace velmora
