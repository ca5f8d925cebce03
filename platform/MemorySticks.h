#pragma once

#include "platform/MountTable.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// A PSP in USB mode or its Memory Stick in a card reader is a volume whose root holds a PSP folder or
// the MEMSTICK.IND file, however it is mounted. Names are matched case-blind, as FAT stores them.
bool HoldsPspFiles(const std::string& root);

// The mounts of the table that are PSPs or Memory Sticks, in table order, each folder once. Pseudo
// and network file systems are not looked into: a stick is local, and a dead server would hang.
std::vector<MountEntry> FindMemorySticks(const std::vector<MountEntry>& mounts);

// Where the PSP (system software 2.80 and later) finds videos of any name: the root's VIDEO folder,
// as already spelled on the stick when it exists, with a trailing '/'.
std::string StickVideoFolder(const std::string& root);

// FAT keeps no file of 4 GiB or more.
bool IsFatFileSystem(const std::string& type);

// The remembered stick that holds the output folder when that stick is no longer mounted: its folder
// would otherwise be made on the computer's own disk. stickFolder is empty when none is remembered.
bool IsOnMissingStick(const std::string& outputFolder, const std::string& stickFolder,
                      const std::vector<MountEntry>& mounts);

} // namespace velmora
