#pragma once

#include "platform/FileLock.h"

#include <QLocalServer>
#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLocalSocket;

namespace velmora {

// One window per user and settings: a later start hands the files it was given to the window that is
// already running, over a local socket, and ends. Paths travel as bytes, so no name is changed.
class FileHandover : public QObject {
public:
    // identity: what makes two starts share a window (bytes, such as a folder's path). socketFolder: where
    // the socket lives, with its trailing '/'; by default the user's runtime folder, else the temporary one.
    explicit FileHandover(const std::string& identity, const std::string& socketFolder = std::string());
    ~FileHandover() override;

    // Gives the paths to a window listening for this identity and waits for it to take them: true when
    // it has. Otherwise listens itself, in place of a socket nobody answers on, and gives false.
    bool HandOverOrListen(const std::vector<std::string>& paths);

    // Paths handed over by later starts, on the user-interface thread; those that came earlier are given
    // at once. An empty receiver keeps them waiting.
    void SetReceiver(std::function<void(std::vector<std::string>)> receiver);

    const QString& SocketPath() const { return socketPath_; }

private:
    bool HandOver(const std::vector<std::string>& paths);
    void Accept();
    void Read(QLocalSocket* socket);

    QString socketPath_;
    QLocalServer server_;
    std::function<void(std::vector<std::string>)> receiver_;
    std::vector<std::vector<std::string>> waiting_;
};

} // namespace velmora
