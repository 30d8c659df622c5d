// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QLocalServer>
#include <QString>

namespace tarvelo::ui {

// One Tarvelo per user session. The first instance listens on a local socket in the user's runtime
// folder; a later one tells it what it was started for (to reopen, or by IBus to serve its engines) and
// then exits. Nothing leaves the computer: the socket is a file only this user can reach.
class SingleInstance {
public:
    enum class Request { reopen, serveEngines };

    // $XDG_RUNTIME_DIR/dev.brinmoor.Tarvelo.socket (the application ID), else a per-user name in the
    // temporary folder.
    static QString defaultSocketPath();

    explicit SingleInstance(QString socketPath = defaultSocketPath());
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Asks a running instance for `request`; true when one answered, and this process should then exit.
    bool notifyRunningInstance(int timeoutMilliseconds = 1000, Request request = Request::reopen);

    // Becomes the running instance: each later launch calls `onReopen`, or `onServeEngines` when IBus
    // started it. False when the socket cannot be made (the application then runs without the guard).
    bool listen(std::function<void()> onReopen, std::function<void()> onServeEngines = [] {});

private:
    QString socketPath_;
    QLocalServer server_;
    std::function<void()> onReopen_;
    std::function<void()> onServeEngines_;
};

}  // namespace tarvelo::ui
