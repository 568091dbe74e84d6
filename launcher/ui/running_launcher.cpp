// Raise requests between launchers: one line "raise" over a QLocalSocket.
#include "running_launcher.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include "launcher_lock.h"

namespace {

constexpr int kWaitMs = 1000;

void bringForward(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace

std::string raiseSocketPath() {
    std::string lock = launcherLockPath();
    return lock.substr(0, lock.size() - 5) + ".socket";  // ".lock" -> ".socket"
}

void listenForRaiseRequests(QObject* owner) {
    auto* server = new QLocalServer(owner);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = QString::fromStdString(raiseSocketPath());
    // This process holds the lock, so a socket left at the path belongs to a launcher that ended.
    QLocalServer::removeServer(path);
    if (!server->listen(path)) return;  // a second start then finds no one to raise; nothing breaks
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::readyRead, client, [client] {
                if (client->readAll().startsWith("raise")) {
                    for (QWidget* top : QApplication::topLevelWidgets())
                        if (top->isVisible() && !top->isModal()) bringForward(top);
                    bringForward(QApplication::activeModalWidget());
                }
                client->disconnectFromServer();
            });
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
}

bool askRunningLauncherToRaise() {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(raiseSocketPath()), QIODevice::WriteOnly);
    if (!socket.waitForConnected(kWaitMs)) return false;
    socket.write("raise\n");
    const bool sent = socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    return sent;
}
