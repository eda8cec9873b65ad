#pragma once
// SIGTERM and SIGHUP turned into a signal on the UI thread: the system or a terminal ends
// the program, where no question can be asked. The handler only writes a byte to a socket
// pair (all a signal handler may do); a notifier reads it in the event loop.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
