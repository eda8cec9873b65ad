#pragma once
// Runs a CdPlayer on a thread of its own: opening a drive, reading its table of contents,
// moving its tray and asking its status can take seconds on a real drive, and the window
// must never wait for them. Commands run one at a time in the order given; after each,
// stateChanged() carries a copy of the player's state to the thread that made this object.
// Destroying it never waits: the player is finished and freed on its thread.

#include "media/CdPlayer.h"

#include <QObject>

#include <functional>
#include <memory>

class QThread;

class CdPlayerThread : public QObject {
    Q_OBJECT
public:
    explicit CdPlayerThread(std::unique_ptr<CdPlayer> player, QObject* parent = nullptr);
    ~CdPlayerThread() override;

    void post(std::function<void(CdPlayer&)> command);
    // Commands posted whose state has not come back yet.
    int pending() const { return m_pending; }

Q_SIGNALS:
    void stateChanged(const CdPlayerState& state);

private:
    struct Link; // how the worker reaches this object while it exists

    QThread* m_thread;
    QObject* m_context; // lives on m_thread: commands are queued to it
    std::shared_ptr<CdPlayer> m_player;
    std::shared_ptr<Link> m_link;
    int m_pending = 0;
};
