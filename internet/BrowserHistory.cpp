#include "internet/BrowserHistory.h"

void BrowserHistory::beforeNavigate(const QString& address)
{
    const int known = int(m_entries.indexOf(address));
    if (known >= 0) {
        m_index = known;
    } else {
        if (m_index >= 0 && m_index < m_entries.size() - 1)
            m_entries.erase(m_entries.begin() + m_index + 1, m_entries.end());
        m_entries.append(address);
        m_index = int(m_entries.size()) - 1;
    }
    if (m_urlTyped) {
        m_urlTyped = false;
        m_typed.removeAll(address);
        m_typed.prepend(address);
    }
}

QString BrowserHistory::backAddress() const
{
    return canGoBack() ? m_entries.at(m_index - 1) : QString();
}

QString BrowserHistory::forwardAddress() const
{
    return canGoForward() ? m_entries.at(m_index + 1) : QString();
}
