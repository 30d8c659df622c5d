// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QLocalServer>
#include <QString>

namespace tarvelo::ui {

// One Tarvelo per user session. The first instance listens on a local socket in the user's runtime
// folder; a later one tells it to reopen and then exits. Nothing leaves the computer: the socket is a
// file only this user can reach.
class SingleInstance {
public:
    // $XDG_RUNTIME_DIR/dev.brinmoor.Tarvelo.socket (the application ID), else a per-user name in the
    // temporary folder.
    static QString defaultSocketPath();

    explicit SingleInstance(QString socketPath = defaultSocketPath());
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Asks a running instance to reopen; true when one answered, and this process should then exit.
    bool notifyRunningInstance(int timeoutMilliseconds = 1000);

    // Becomes the running instance: each later launch calls `onReopen`. False when the socket cannot be
    // made (the application then runs without the guard).
    bool listen(std::function<void()> onReopen);

private:
    QString socketPath_;
    QLocalServer server_;
    std::function<void()> onReopen_;
};

}  // namespace tarvelo::ui
