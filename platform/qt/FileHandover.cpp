#include "platform/qt/FileHandover.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace velmora {

namespace {

const QByteArray kGreeting = QByteArrayLiteral("velmora-files-1");
constexpr char kTaken = 'K';
constexpr int kConnectMs = 1000;
// The running window may be busy for a moment (a folder scan paces itself once a frame).
constexpr int kAnswerMs = 5000;
// More than any command line can carry: a peer sending more is not a start of ours.
constexpr qint64 kLongestMessage = 64 * 1024 * 1024;
constexpr quint32 kMostPaths = 1000000;

QString DefaultSocketFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(QFile::decodeName(runtime)).isDir())
        return QFile::decodeName(runtime) + '/';
    return QDir::tempPath() + '/';
}

// Only a process of the same user may hand files over or take them: the socket may sit in a folder
// that every user can write.
bool PeerIsSameUser(const QLocalSocket& socket) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    return getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) ==
               0 &&
           peer.uid == getuid();
}

} // namespace

FileHandover::FileHandover(const std::string& identity, const std::string& socketFolder) {
    // A hash keeps the name short whatever the folder's length (a socket's path has ~100 bytes).
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(identity), QCryptographicHash::Sha256).toHex();
    const QString folder =
        socketFolder.empty() ? DefaultSocketFolder() : QFile::decodeName(socketFolder.c_str());
    socketPath_ =
        folder + QStringLiteral("velmora-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest.left(20)));
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] { Accept(); });
}

FileHandover::~FileHandover() = default;

bool FileHandover::HandOverOrListen(const std::vector<std::string>& paths) {
    // Two starts at once: the lock lets one listen before the other looks, so neither removes the
    // other's socket.
    const std::optional<FileLock> lock = FileLock::Acquire(
        QFile::encodeName(socketPath_).toStdString() + ".lock", std::chrono::milliseconds(kAnswerMs));
    if (HandOver(paths))
        return true;
    // Nobody answers: what is left is a crashed window's socket.
    QLocalServer::removeServer(socketPath_);
    server_.listen(socketPath_);
    return false;
}

bool FileHandover::HandOver(const std::vector<std::string>& paths) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectMs) || !PeerIsSameUser(socket))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kGreeting << static_cast<quint32>(paths.size());
    for (const std::string& path : paths)
        out << QByteArray::fromStdString(path);
    // The desktop's permission for this start to bring a window to the front, which the window uses.
    out << qgetenv("XDG_ACTIVATION_TOKEN");
    socket.write(message);
    if (!socket.waitForBytesWritten(kAnswerMs))
        return false;
    while (socket.bytesAvailable() == 0)
        if (!socket.waitForReadyRead(kAnswerMs))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == kTaken;
}

void FileHandover::SetReceiver(std::function<void(std::vector<std::string>)> receiver) {
    receiver_ = std::move(receiver);
    if (!receiver_)
        return;
    for (std::vector<std::string>& paths : std::exchange(waiting_, {}))
        receiver_(std::move(paths));
}

void FileHandover::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!PeerIsSameUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        Read(socket);
    }
}

void FileHandover::Read(QLocalSocket* socket) {
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_6_0);
    in.startTransaction();
    QByteArray greeting;
    quint32 count = 0;
    in >> greeting >> count;
    std::vector<std::string> paths;
    for (quint32 i = 0;
         in.status() == QDataStream::Ok && greeting == kGreeting && i < count && count <= kMostPaths; ++i) {
        QByteArray path;
        in >> path;
        paths.push_back(path.toStdString());
    }
    QByteArray activationToken;
    in >> activationToken;
    if (!in.commitTransaction()) {
        if (socket->bytesAvailable() > kLongestMessage)
            socket->abort();
        return;
    }
    if (greeting != kGreeting || count > kMostPaths) {
        socket->abort();
        return;
    }
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    if (receiver_)
        receiver_(std::move(paths));
    else
        waiting_.push_back(std::move(paths));
    socket->putChar(kTaken);
    socket->flush();
    socket->disconnectFromServer();
}

} // namespace velmora
