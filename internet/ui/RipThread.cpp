#include "internet/ui/RipThread.h"

RipThread::RipThread(QObject* parent)
    : QObject(parent), m_run(new RipRun)
{
    m_run->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_run, &QObject::deleteLater);
    m_thread.start();
}

RipThread::~RipThread()
{
    post([](RipRun& run) { run.halt(); });
    m_thread.quit();
    m_thread.wait();
}

void RipThread::post(std::function<void(RipRun&)> work)
{
    RipRun* run = m_run;
    QMetaObject::invokeMethod(m_run, [run, work = std::move(work)] { work(*run); }, Qt::QueuedConnection);
}
