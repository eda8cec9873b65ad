#include "support/FakeSession.h"

FakeSession::FakeSession() : m_previous(&SessionService::instance())
{
    SessionService::setInstance(this);
}

FakeSession::~FakeSession()
{
    SessionService::setInstance(m_previous);
}

void FakeSession::setOffered(const QList<SessionAction>& actions)
{
    m_all = false;
    m_offered = actions;
}

bool FakeSession::canPerform(SessionAction action)
{
    return m_all || m_offered.contains(action);
}

Status FakeSession::perform(SessionAction action)
{
    m_performed << action;
    if (m_refusal.isEmpty() && canPerform(action))
        return Status();
    return Status::failure(QStringLiteral("FakeSession"), m_refusal.isEmpty() ? QStringLiteral("not offered") : m_refusal);
}
