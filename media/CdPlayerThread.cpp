#include "media/CdPlayerThread.h"

#include <QThread>

#include <mutex>

struct CdPlayerThread::Link {
    std::mutex mutex;
    CdPlayerThread* owner = nullptr;
};

CdPlayerThread::CdPlayerThread(std::unique_ptr<CdPlayer> player, QObject* parent)
    : QObject(parent)
    , m_thread(new QThread)
    , m_context(new QObject)
    , m_player(std::move(player))
    , m_link(std::make_shared<Link>())
{
    m_link->owner = this;
    m_thread->setObjectName(QStringLiteral("CD player"));
    m_context->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    m_thread->start();
}

CdPlayerThread::~CdPlayerThread()
{
    {
        std::lock_guard lock(m_link->mutex);
        m_link->owner = nullptr;
    }
    QMetaObject::invokeMethod(m_context, [player = std::move(m_player)] {
        player->finish();
        QThread::currentThread()->quit();
    });
}

void CdPlayerThread::post(std::function<void(CdPlayer&)> command)
{
    ++m_pending;
    QMetaObject::invokeMethod(m_context, [player = m_player, link = m_link, command = std::move(command)] {
        command(*player);
        const CdPlayerState state = player->state();
        // A queued call to an object that is destroyed meanwhile is dropped with it.
        std::lock_guard lock(link->mutex);
        if (CdPlayerThread* owner = link->owner) {
            QMetaObject::invokeMethod(owner, [owner, state] {
                --owner->m_pending;
                Q_EMIT owner->stateChanged(state);
            });
        }
    });
}
