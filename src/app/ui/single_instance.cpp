// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/single_instance.h"

#include <unistd.h>

#include <utility>

#include <QDir>
#include <QLocalSocket>

#include "app/ui/qt_text.h"
#include "build_info.h"

namespace tarvelo::ui {
namespace {

constexpr char kReopen[] = "reopen\n";
constexpr char kServeEngines[] = "serve-engines\n";

}  // namespace

QString SingleInstance::defaultSocketPath() {
    const QString name = text(build::applicationId);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) return QDir(runtime).filePath(name + ".socket");
    return QDir(QDir::tempPath()).filePath(QString("%1-%2.socket").arg(name).arg(getuid()));
}

SingleInstance::SingleInstance(QString socketPath) : socketPath_(std::move(socketPath)) {}

bool SingleInstance::notifyRunningInstance(int timeoutMilliseconds, Request request) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(timeoutMilliseconds)) return false;
    socket.write(request == Request::serveEngines ? kServeEngines : kReopen);
    // The running instance answers once it has read the request, so it is not lost when we exit.
    const bool answered = socket.waitForBytesWritten(timeoutMilliseconds) && socket.waitForReadyRead(timeoutMilliseconds);
    socket.disconnectFromServer();
    return answered;
}

bool SingleInstance::listen(std::function<void()> onReopen, std::function<void()> onServeEngines) {
    onReopen_ = std::move(onReopen);
    onServeEngines_ = std::move(onServeEngines);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(socketPath_)) {
        // A socket left by an instance that did not end cleanly: nobody answered on it just now.
        QLocalServer::removeServer(socketPath_);
        if (!server_.listen(socketPath_)) return false;
    }
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket* client = server_.nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (!client->canReadLine()) return;
                const QByteArray request = client->readLine();
                const std::function<void()>* action = request == kReopen          ? &onReopen_
                                                      : request == kServeEngines ? &onServeEngines_
                                                                                 : nullptr;
                if (action != nullptr) {
                    client->write("ok\n");
                    client->flush();
                    if (*action) (*action)();
                }
                client->disconnectFromServer();
            });
        }
    });
    return true;
}

}  // namespace tarvelo::ui
