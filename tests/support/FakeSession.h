#pragma once
// A session service for tests: installs itself for its lifetime (then puts back the one that
// was there), records every action asked
// for, offers the actions given to setOffered (all by default) and refuses with the text
// given to refuse. Nothing reaches the real session or power service.

#include "platform/Session.h"

#include <QList>
#include <QSet>

class FakeSession final : public SessionService {
public:
    FakeSession();
    ~FakeSession() override;

    void setOffered(const QList<SessionAction>& actions);
    void refuse(const QString& reason) { m_refusal = reason; }
    const QList<SessionAction>& performed() const { return m_performed; }

    bool canPerform(SessionAction action) override;
    Status perform(SessionAction action) override;

private:
    bool m_all = true;
    QList<SessionAction> m_offered;
    QList<SessionAction> m_performed;
    QString m_refusal;
    SessionService* m_previous;
};
