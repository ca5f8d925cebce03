#pragma once

#include <string>
#include <vector>

namespace velmora {

class FileHandover;
class TfrmMain;

// The files named on the command line (what Qt left of it), each made absolute against the working
// folder; bytes as given, so that no name is changed.
std::vector<std::string> FilesFromArguments(int argc, char* argv[]);

// What makes two starts share one window: the kept queue's lock, which names the user's settings.
std::string WindowIdentity(const std::string& appDir);

// Files a later start hands over are queued in the window, which comes to the front.
void ReceiveHandedOverFiles(FileHandover& handover, TfrmMain& window);

} // namespace velmora
