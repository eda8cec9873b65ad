#pragma once
// One running instance per user, found through a local socket in the user's runtime folder
// ($XDG_RUNTIME_DIR, else a per-user name in the temporary folder). The running instance
// listens; a new start connects and asks it to come to the front ("raise"), or to show a path
// given on its command line ("open" and the path's bytes in base64: any byte of a name
// survives the line-based channel). The same channel carries "quit", which closes the running
// main window as File / Exit does (used by scripts and tests that need a clean end).

#include "app/StartArguments.h"

#include <QObject>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    static QString serverName();

    // Sends a command to the running instance and waits for its answer; false when no
    // instance answered within the time.
    static bool sendCommand(const QByteArray& command, int timeoutMs = 2000);
    // The "open" command for target.
    static QByteArray openCommand(const StartTarget& target);

    // Starts serving. A socket left by a crashed instance is replaced; one that a running
    // instance serves is left alone (false: this start runs beside it without serving).
    bool listen();

Q_SIGNALS:
    void raiseRequested();
    void quitRequested();
    void openRequested(const StartTarget& target);

private:
    void serveConnection();

    QLocalServer* m_server;
};
